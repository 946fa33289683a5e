#!/usr/bin/env bash
# Starts a built vorelix.exe under Xvfb and Wine and writes a PNG of the screen with its main window.
# Usage: scripts/screenshot.sh [VORELIX_EXE] [OUT_PNG] [FOLDER_TO_SHOW]
#   VORELIX_EXE     default build/win/src/app/vorelix.exe (this script builds nothing)
#   OUT_PNG         default vorelix.png
#   FOLDER_TO_SHOW  a Linux folder the program starts in, so its demo list shows that folder's demos;
#                   or a demo file, which the program is then started on (shown and selected)
# WINEPREFIX, when set, names the prefix to use; otherwise a temporary one is made and removed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$(realpath "${1:-build/win/src/app/vorelix.exe}")
out=$(realpath -m "${2:-vorelix.png}")
folder=$(realpath "${3:-$(pwd)}")
demo=""
if [ -f "$folder" ]; then
  demo=$(basename "$folder")
  folder=$(dirname "$folder")
fi
[ -f "$exe" ] || { echo "screenshot.sh: no program at $exe (build it first)" >&2; exit 2; }
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

xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$here" "$exe" "$out" "$folder" "$keeper" "$demo" <<'INNER'
set -euo pipefail
here=$1 exe=$2 out=$3 folder=$4 keeper=$5 demo=$6
if [ -n "$keeper" ]; then
  "$here/wine-prefix.sh" start "$keeper"
elif [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
fi
# A settings key as a returning user has it: no first-run question in front of the window.
wine reg add 'HKCU\Software\Vorelix\main' /v firstrun /d 0 /f >/dev/null 2>&1 || true
cd "$folder"
if [ -n "$demo" ]; then
  wine "$exe" "$(winepath -w "$folder/$demo")" >/dev/null 2>&1 </dev/null &
else
  wine "$exe" >/dev/null 2>&1 </dev/null &
fi
program=$!
timeout 60 xdotool search --sync --onlyvisible --name "Vorelix v2.1b" >/dev/null
# Let the window paint once the first time it is mapped.
sleep 1
# The screen is black around the window: trimming leaves the window alone.
xwd -root -silent -display "$DISPLAY" | convert xwd:- -trim +repage "$out"
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
if [ -n "$keeper" ]; then "$here/wine-prefix.sh" stop; fi
INNER
echo "screenshot written to $out"
