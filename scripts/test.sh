#!/usr/bin/env bash
# The TEST command: installs what is missing, builds the native core (with sanitizers), the fuzz
# targets and the Windows program, runs every test (Windows ones under Wine and Xvfb), and ends with
# one line "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)

bash scripts/deps.sh || { echo "0 passed, 1 failed"; exit 1; }

passed=0
failed=0
logs="$root/build/logs"
mkdir -p "$logs"

# Adds the counts of one ctest run, read from its closing line, to the totals.
count_ctest() {
  local log=$1 line total fails
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    echo "!! no ctest summary in $log"
    failed=$((failed + 1))
    return
  fi
  fails=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
  passed=$((passed + total - fails))
  failed=$((failed + fails))
}

step_failed() {
  echo "!! $1"
  failed=$((failed + 1))
}

# Configures and builds one of CMakePresets.json's presets into build/<preset>; the logs go to
# build/logs/<preset>-configure.log and <preset>-build.log, and their last lines are shown on failure.
build_preset() {
  local preset=$1
  if cmake --preset "$preset" >"$logs/$preset-configure.log" 2>&1 &&
     cmake --build --preset "$preset" -j"$jobs" >"$logs/$preset-build.log" 2>&1; then
    return 0
  fi
  tail -n 40 "$logs/$preset-configure.log" "$logs/$preset-build.log"
  return 1
}

echo "== native core build (g++, AddressSanitizer + UndefinedBehaviorSanitizer)"
if build_preset native; then
  ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build/native -j"$jobs" --timeout 300 --output-on-failure \
    >"$logs/native-ctest.log" 2>&1
  tail -n 3 "$logs/native-ctest.log"
  count_ctest "$logs/native-ctest.log"
else
  step_failed "native build failed"
fi

echo "== fuzz smoke (clang, libFuzzer)"
if build_preset fuzz; then
  fuzzers=(build/fuzz/fuzz/fuzz_*)
  if [ -e "${fuzzers[0]}" ]; then
    seconds=$(( 60 / ${#fuzzers[@]} ))
    [ "$seconds" -lt 5 ] && seconds=5
    for f in "${fuzzers[@]}"; do
      name=$(basename "$f")
      if "$f" -max_total_time="$seconds" -print_final_stats=1 >"$logs/$name.log" 2>&1; then
        echo "   $name: $(grep -E 'stat::number_of_executed_units' "$logs/$name.log" | awk '{print $2}') runs, ok"
        passed=$((passed + 1))
      else
        tail -n 30 "$logs/$name.log"
        step_failed "$name found a fault"
      fi
    done
  else
    echo "   no fuzz targets built"
  fi
else
  step_failed "fuzz build failed"
fi

echo "== Windows build (mingw-w64) and tests under Wine"
if build_preset win; then
  scripts/support/win-ctest.sh build/win -j"$jobs" >"$logs/win-ctest.log" 2>&1
  tail -n 3 "$logs/win-ctest.log"
  count_ctest "$logs/win-ctest.log"
else
  step_failed "Windows build failed"
fi

if [ "$failed" -gt 0 ]; then
  echo "== failures (details in build/logs):"
  grep -hE '^\s*[0-9]+ - .*\((Failed|Timeout|SEGFAULT|Subprocess aborted|Exception)' \
    "$logs"/native-ctest.log "$logs"/win-ctest.log 2>/dev/null | head -n 40
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
