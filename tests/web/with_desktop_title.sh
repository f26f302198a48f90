#!/usr/bin/env bash
# Runs a browser check against a title picture the desktop build takes in the
# same run (the replay tool in a real window, 640 x 480, the title at rest):
#   with_desktop_title.sh COMMAND [ARG...]   (REFERENCE names the picture)
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d /tmp/bw-web-title-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
ALSOFT_DRIVERS=null "$HERE/../support/with-display" "${DESKTOP_REPLAY:?}" --data "${DATA_DIR:?}" \
  --state "$WORK/state" --updates 151 --shot "150:$WORK/desktop-title.png" >/dev/null
REFERENCE="$WORK/desktop-title.png" "$@"
