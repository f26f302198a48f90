#!/usr/bin/env bash
# The portable unit tests, cross-built into build-win/, run by its own ctest
# under Wine.
set -euo pipefail
source "$(dirname "$0")/wine_lib.sh"
wine_up
trap wine_down EXIT
cd "$WIN_DIR"
# One at a time, which is faster under Wine here (about 70 s for the lot
# against 140 s two at a time). Now and then a program hangs starting or
# stopping OpenAL's threads under Wine, so a test that ran into its timeout
# (a minute) runs once more; ctest's output shows every such retry.
ctest -j1 --output-on-failure --repeat after-timeout:2
