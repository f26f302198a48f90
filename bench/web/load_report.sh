#!/usr/bin/env bash
# The page's load report (load_report.mjs) against a title picture the desktop
# build takes in the same run, as the play test does.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d /tmp/bw-web-load-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
ALSOFT_DRIVERS=null "$HERE/../../tests/support/with-display" "${DESKTOP_REPLAY:?}" --data "${DATA_DIR:?}" \
  --state "$WORK/state" --updates 151 --shot "150:$WORK/desktop-title.png" >/dev/null
REFERENCE="$WORK/desktop-title.png" node "$HERE/load_report.mjs" "$@"
