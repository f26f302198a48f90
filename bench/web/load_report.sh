#!/usr/bin/env bash
# The page's load report (load_report.mjs) against the desktop build's title
# picture, as the play test does.
HERE=$(cd "$(dirname "$0")" && pwd)
exec "$HERE/../../tests/web/with_desktop_title.sh" node "$HERE/load_report.mjs" "$@"
