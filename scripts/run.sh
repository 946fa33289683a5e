#!/usr/bin/env bash
# The RUN command: installs what is missing, builds vorelix.exe and starts it (under Wine on Linux).
# Extra arguments go to the program (a demo's path, as the .dem association passes it).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake --preset win >/dev/null
cmake --build --preset win --target vorelix -j"$(nproc)"

exe=build/win/src/app/vorelix.exe
export WINEDEBUG=${WINEDEBUG:--all}
prefix=${WINEPREFIX:-$HOME/.wine}
if [ ! -f "$prefix/system.reg" ]; then
  WINEPREFIX=$prefix wineboot -i >/dev/null 2>&1 || true
  WINEPREFIX=$prefix wineserver -w
fi
# Debian's Wine does not read its own font folder; the window's Tahoma and Marlett live there.
mkdir -p "$prefix/drive_c/windows/Fonts"
cp -n /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
export WINEPREFIX=$prefix

if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe" "$@"
fi
echo "No display: starting Vorelix inside Xvfb (scripts/tools/screenshot.sh shows how to look at it)." >&2
exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$exe" "$@"
