#!/usr/bin/env bash
# Times the main window on a folder of 10,000 demos against a folder of one, under Xvfb and Wine.
# Usage: scripts/tools/bench-big-folder.sh [VORELIX_EXE] [RUNS]
#   VORELIX_EXE  default build/win/src/app/vorelix.exe (this script builds nothing)
#   RUNS         starts and folder changes of each kind, the best of which is printed (default 5)
# Prints, best of RUNS, side by side: the start on a demo that lies alone in its folder and on the same
# demo among 10,000 (from the program's start until its window shows, list filled and demo selected),
# and the change from the folder box into each folder (from the key press until the window has
# repainted). The demo shown is a real one from ../shared/demos when that folder is there.
# WINEPREFIX, when set, names the prefix to use; otherwise a temporary one is made and removed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$(realpath "${1:-build/win/src/app/vorelix.exe}")
runs=${2:-5}
[ -f "$exe" ] || { echo "bench-big-folder.sh: no program at $exe (build it first)" >&2; exit 2; }
for tool in xvfb-run xdotool xwd wine; do
  command -v "$tool" >/dev/null || { echo "bench-big-folder.sh: $tool is missing" >&2; exit 2; }
done
keeper="$(dirname "$exe")/../../tests/support/wine_keeper.exe"
[ -f "$keeper" ] || { echo "bench-big-folder.sh: $keeper is not built" >&2; exit 2; }
demo="$here/../../../shared/demos/uds_New_Patriots_1.dem"
[ -f "$demo" ] || demo=""

export WINEDEBUG=-all
own_prefix=""
if [ -z "${WINEPREFIX:-}" ]; then
  own_prefix=$(mktemp -d /tmp/vorelix-bench.XXXXXX)
  export WINEPREFIX="$own_prefix"
fi
cleanup() {
  wineserver -k 2>/dev/null || true
  if [ -n "$own_prefix" ]; then rm -rf "$own_prefix"; fi
}
trap cleanup EXIT

xvfb-run -a -s "-screen 0 800x600x24" bash -s "$here" "$exe" "$keeper" "$runs" "$demo" <<'INNER'
set -euo pipefail
here=$1 exe=$2 keeper=$3 runs=$4 demo=$5
"$here/../support/wine-prefix.sh" start "$keeper"
wine reg add 'HKCU\Software\Vorelix\main' /v firstrun /d 0 /f >/dev/null 2>&1

# C:\bench holds a demo to start on and two subfolders: "a-one" with that demo alone, "many" with it
# among 9,999 others whose names sort before it (auto-recorded names, mixed case), so the start's
# search for the named demo runs through the whole list.
name=uds_New_Patriots_1.dem
bench="$WINEPREFIX/drive_c/bench"
rm -rf "$bench"
mkdir -p "$bench/a-one" "$bench/many"
if [ -n "$demo" ]; then cp "$demo" "$bench/$name"; else printf 'HLDEMO\0' >"$bench/$name"; fi
chmod 644 "$bench/$name"
cp "$bench/$name" "$bench/a-one/$name"
cp "$bench/$name" "$bench/many/$name"
(
  cd "$bench/many"
  maps=(de_dust2 de_inferno de_nuke cs_assault de_aztec de_train)
  for i in $(seq 1 9999); do
    stamp=$((2405171129 + i * 37))
    if ((i % 3 == 0)); then prefix=Auto; else prefix=auto; fi
    echo "$prefix-$stamp-${maps[i % 6]}.dem"
  done | xargs touch
)
[ "$(find "$bench/many" -name '*.dem' | wc -l)" -eq 10000 ]

now() { date +%s%N; }
window_id() { xdotool search --onlyvisible --name "Vorelix v2.1b" 2>/dev/null | head -1; }
# What the main window shows ($window), summed.
screen_sum() { xwd -id "$window" -silent -display "$DISPLAY" | md5sum; }
program="" window=""
# Starts the program on a demo given by its Windows path.
start() {
  wine "$exe" "$1" >/dev/null 2>&1 </dev/null &
  program=$!
}
stop() {
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
}
# Milliseconds from the start until the main window shows; it shows once start-up has filled the list
# and shown the selected demo.
time_start() {
  local t0 t1
  t0=$(now)
  start "$1"
  until [ -n "$(window_id)" ]; do sleep 0.01; done
  t1=$(now)
  stop
  echo $(((t1 - t0) / 1000000))
}
# Waits until the window differs from the one summed as $1 (or at once when $1 is empty) and then
# stays the same for 300 ms; prints the time of its last change.
settle() {
  local last=$1 sum changed t
  if [ -n "$last" ]; then
    while [ "$(screen_sum)" = "$last" ]; do :; done
  fi
  last=$(screen_sum)
  changed=$(now)
  while :; do
    sum=$(screen_sum)
    t=$(now)
    if [ "$sum" != "$last" ]; then
      last=$sum
      changed=$t
    elif ((t - changed > 300000000)); then
      break
    fi
  done
  echo "$changed"
}
# Milliseconds from the key that opens the folder box's entry until the window has repainted; the
# entry is the last one ("many") or the one before it ("a-one").
time_change() {
  local keys=$1 x y before t0 t1
  start 'C:\bench\'"$name"
  until window=$(window_id) && [ -n "$window" ]; do sleep 0.01; done
  settle "" >/dev/null
  # The folder box's middle, from the window's place: its client area is 508 x 521 at 96 DPI.
  eval "$(xdotool getwindowgeometry --shell "$window")"
  x=$((X + (WIDTH - 508) / 2 + 126))
  y=$((Y + HEIGHT - 521 - (WIDTH - 508) / 2 + 188))
  xdotool mousemove "$x" "$y" click 1
  # shellcheck disable=SC2086
  xdotool key $keys
  settle "" >/dev/null
  before=$(screen_sum)
  t0=$(now)
  xdotool key Return
  t1=$(settle "$before")
  stop
  echo $(((t1 - t0) / 1000000))
}
# One and many take turns, so that both meet the same load of the machine.
starts_one=() starts_many=() changes_one=() changes_many=()
for _ in $(seq "$runs"); do
  starts_one+=("$(time_start 'C:\bench\a-one\'"$name")")
  starts_many+=("$(time_start 'C:\bench\many\'"$name")")
  changes_one+=("$(time_change "End Up")")
  changes_many+=("$(time_change "End")")
done
best() { printf '%s\n' "$@" | sort -n | head -1; }
echo "best of $runs, milliseconds              one demo   10,000 demos   extra"
one=$(best "${starts_one[@]}") many=$(best "${starts_many[@]}")
printf 'start on a demo                           %8d   %12d   %5d\n' "$one" "$many" $((many - one))
one=$(best "${changes_one[@]}") many=$(best "${changes_many[@]}")
printf 'change into its folder (folder box)       %8d   %12d   %5d\n' "$one" "$many" $((many - one))
echo "every run: start ${starts_one[*]} | ${starts_many[*]}; change ${changes_one[*]} | ${changes_many[*]}"
"$here/../support/wine-prefix.sh" stop
INNER
