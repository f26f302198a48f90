#!/usr/bin/env bash
# The portable unit tests, cross-built into build-win/, run by its own ctest
# under Wine.
set -euo pipefail
source "$(dirname "$0")/wine_lib.sh"
wine_up
trap wine_down EXIT
cd "$WIN_DIR"
# One at a time, which is faster under Wine here (about 70 s for the lot
# against 140 s two at a time). No retry: a test that hangs now and then is a
# fault to find, as OpenAL's lost wake-ups were (patched in third_party/).
ctest -j1 --output-on-failure --no-tests=error
