#!/usr/bin/env bash
# The browser play test against a title picture the desktop build takes in the
# same run (the replay tool in a real window, 640 x 480, the title at rest).
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d /tmp/bw-web-play-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
ALSOFT_DRIVERS=null "$HERE/../support/with-display" "${DESKTOP_REPLAY:?}" --data "${DATA_DIR:?}" \
  --state "$WORK/state" --updates 151 --shot "150:$WORK/desktop-title.png" >/dev/null
REFERENCE="$WORK/desktop-title.png" node "$HERE/pt2_tmp.mjs"
