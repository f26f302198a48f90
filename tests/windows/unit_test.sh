#!/usr/bin/env bash
# The portable unit tests, cross-built into build-win/, run by its own ctest
# under Wine.
set -euo pipefail
source "$(dirname "$0")/wine_lib.sh"
wine_up
trap wine_down EXIT
cd "$WIN_DIR"
ctest -j2 --output-on-failure --timeout 300
