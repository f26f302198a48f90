#!/usr/bin/env bash
# The browser play test against the desktop build's title picture.
HERE=$(cd "$(dirname "$0")" && pwd)
exec "$HERE/with_desktop_title.sh" node "$HERE/play_test.mjs"
