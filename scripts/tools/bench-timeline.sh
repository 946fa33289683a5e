#!/usr/bin/env bash
# Runs the timeline window benchmark under Xvfb and Wine, in the build's own Wine prefix.
# Usage: scripts/tools/bench-timeline.sh [BUILD_DIR] [SIZE_MB]   (defaults: build/win 256)
set -uo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/win}
shift || true
[ -f "$build/bench/ui_timeline_bench.exe" ] || {
  echo "bench-timeline.sh: build the target ui_timeline_bench in $build first" >&2
  exit 2
}
export WINEPREFIX=${WINEPREFIX:-$(realpath "$build")/wineprefix}
export WINEDEBUG=-all
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  scripts/support/wine-prefix.sh start "$0/tests/support/wine_keeper.exe" || exit 1
  wine "$0/bench/ui_timeline_bench.exe" "$@"
  status=$?
  scripts/support/wine-prefix.sh stop
  exit $status' "$build" "$@"
