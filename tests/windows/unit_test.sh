#!/usr/bin/env bash
# The portable unit tests, cross-built into build-win/, run by its own ctest
# under Wine.
set -euo pipefail
source "$(dirname "$0")/wine_lib.sh"
wine_up
trap wine_down EXIT
cd "$WIN_DIR"
# One at a time: two programs starting OpenAL under Wine at once have been
# seen to hang now and then, and one at a time is faster here anyway (about
# 70 s for the lot against 140 s two at a time).
ctest -j1 --output-on-failure --timeout 60
