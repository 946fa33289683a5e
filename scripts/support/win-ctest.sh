#!/usr/bin/env bash
# Runs the tests of a Windows build folder under Xvfb and Wine, in that build's own Wine prefix.
# Usage: scripts/support/win-ctest.sh BUILD_DIR [ctest arguments...]
set -uo pipefail
cd "$(dirname "$0")/../.."
build=${1:?usage: win-ctest.sh BUILD_DIR [ctest args]}
shift
export WINEPREFIX=${WINEPREFIX:-$(realpath "$build")/wineprefix}
export WINEDEBUG=-all
exec xvfb-run -a -s "-screen 0 1920x1440x24" bash -c '
  scripts/support/wine-prefix.sh start "$0/tests/support/wine_keeper.exe" || exit 1
  ctest --test-dir "$0" --timeout 120 --output-on-failure "$@"
  status=$?
  scripts/support/wine-prefix.sh stop
  exit $status' "$build" "$@"
