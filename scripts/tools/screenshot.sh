#!/usr/bin/env bash
# Starts a built vorelix.exe under Xvfb and Wine and writes PNGs of the screen with its main window.
# Usage: scripts/tools/screenshot.sh [--dpi "96 120 144 192"] [--user-folder] [VORELIX_EXE] [OUT_PNG] [PATH...]
#   --dpi LIST      one screenshot per DPI (Wine's LogPixels, the server restarted for each), written as
#                   OUT_PNG with "-DPI" before its extension (vorelix-144.png); without it the prefix's
#                   own DPI and the name OUT_PNG as given
#   --user-folder   the demo files given as PATHs are copied into C:\Games\Half-Life\cstrike\demos
#                   inside the prefix, as a player keeps them, and the program is started on the first
#   VORELIX_EXE     default build/win/src/app/vorelix.exe (this script builds nothing)
#   OUT_PNG         default vorelix.png
#   PATH            a Linux folder the program starts in, so its demo list shows that folder's demos;
#                   or a demo file, which the program is then started on (shown and selected)
# WINEPREFIX, when set, names the prefix to use; otherwise a temporary one is made and removed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dpis=""
user_folder=""
while [ $# -gt 0 ]; do
  case "$1" in
    --dpi) dpis=${2:?--dpi needs a list}; shift 2 ;;
    --user-folder) user_folder=1; shift ;;
    *) break ;;
  esac
done
exe=$(realpath "${1:-build/win/src/app/vorelix.exe}")
out=$(realpath -m "${2:-vorelix.png}")
shift $(( $# < 2 ? $# : 2 ))
paths=()
for path in "${@:-$(pwd)}"; do paths+=("$(realpath "$path")"); done
[ -f "$exe" ] || { echo "screenshot.sh: no program at $exe (build it first)" >&2; exit 2; }
if [ -n "$user_folder" ]; then
  for path in "${paths[@]}"; do
    [ -f "$path" ] || { echo "screenshot.sh: --user-folder takes demo files, not $path" >&2; exit 2; }
  done
fi
for tool in xvfb-run xdotool xwd convert wine; do
  command -v "$tool" >/dev/null || { echo "screenshot.sh: $tool is missing" >&2; exit 2; }
done

export WINEDEBUG=-all
own_prefix=""
if [ -z "${WINEPREFIX:-}" ]; then
  own_prefix=$(mktemp -d /tmp/vorelix-shot.XXXXXX)
  export WINEPREFIX="$own_prefix"
fi
cleanup() {
  if [ -n "$own_prefix" ]; then
    WINEPREFIX="$own_prefix" wineserver -k 2>/dev/null || true
    rm -rf "$own_prefix"
  fi
}
trap cleanup EXIT

# The prefix is prepared as the test runs prepare theirs (fonts, no window manager delay); the keeper
# that script starts keeps Wine's helpers off our pipes, so it is used when the build has one.
# A prefix given by WINEPREFIX is used as it is and its server is left running.
keeper="$(dirname "$exe")/../../tests/support/wine_keeper.exe"
if [ -z "$own_prefix" ] || [ ! -f "$keeper" ]; then
  keeper=""
fi

# The screen is large enough for the window at 192 DPI; the shot is trimmed to the window.
xvfb-run -a -s "-screen 0 2048x1536x24" bash -s "$here" "$exe" "$out" "$keeper" "$dpis" "$user_folder" \
  "${paths[@]}" <<'INNER'
set -euo pipefail
here=$1 exe=$2 out=$3 keeper=$4 dpis=$5 user_folder=$6
shift 6
start_server() {
  if [ -n "$keeper" ]; then
    "$here/../support/wine-prefix.sh" start "$keeper"
  else
    "$here/../support/wine-prefix.sh" create
  fi
}
stop_server() {
  if [ -n "$keeper" ]; then
    "$here/../support/wine-prefix.sh" stop
  else
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
}
start_server
# A settings key as a returning user has it: no first-run question in front of the window.
wine reg add 'HKCU\Software\Vorelix\main' /v firstrun /d 0 /f >/dev/null 2>&1 || true

folder=$1 demo=""
if [ -n "$user_folder" ]; then
  folder="$WINEPREFIX/drive_c/Games/Half-Life/cstrike/demos"
  mkdir -p "$folder"
  for path in "$@"; do install -m 644 "$path" "$folder/"; done
  demo=$(basename "$1")
elif [ -f "$folder" ]; then
  demo=$(basename "$folder")
  folder=$(dirname "$folder")
fi
cd "$folder"

shoot() {
  local png=$1
  if [ -n "$demo" ]; then
    wine "$exe" "$(winepath -w "$folder/$demo")" >/dev/null 2>&1 </dev/null &
  else
    wine "$exe" >/dev/null 2>&1 </dev/null &
  fi
  local program=$!
  timeout 60 xdotool search --sync --onlyvisible --name "Vorelix v2.1b" >/dev/null
  # Let the window paint once the first time it is mapped.
  sleep 1
  # The screen is black around the window: trimming leaves the window alone.
  xwd -root -silent -display "$DISPLAY" | convert xwd:- -trim +repage "$png"
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
  echo "screenshot written to $png"
}

if [ -z "$dpis" ]; then
  shoot "$out"
else
  for dpi in $dpis; do
    # Wine reads the DPI when its server starts.
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    stop_server
    start_server
    shoot "${out%.png}-$dpi.png"
  done
fi
if [ -n "$keeper" ]; then stop_server; fi
INNER
