#!/usr/bin/env bash
# Creates (once) and starts the Wine prefix named by $WINEPREFIX: fonts, no window manager delays,
# a persistent server, and a keeper process so Wine's helpers never hold a caller's output pipes.
# Usage: wine-prefix.sh create | start KEEPER_EXE | stop
#   create only makes the prefix (when it has none yet), for scripts that start Wine themselves.
set -euo pipefail
export WINEDEBUG=-all
: "${WINEPREFIX:?WINEPREFIX must be set}"

create() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # Debian's Wine does not read its own font folder: Tahoma and Marlett must be in the prefix.
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # Without a window manager DestroyWindow waits about 2 s unless Wine manages the windows itself.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
  fi
}

start() {
  local keeper=$1
  if [ ! -f "$keeper" ]; then
    echo "wine-prefix.sh: $keeper is not built" >&2
    return 1
  fi
  create
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wineserver -p
  wine wineboot >/dev/null 2>&1 </dev/null || true
  local ready="$WINEPREFIX/keeper.ready"
  rm -f "$ready"
  wine "$keeper" "$(winepath -w "$ready" 2>/dev/null)" >/dev/null 2>&1 </dev/null &
  for _ in $(seq 1 300); do
    [ -f "$ready" ] && return 0
    sleep 0.1
  done
  echo "wine-prefix.sh: the keeper did not start" >&2
  return 1
}

stop() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

case "${1:-}" in
  create) create ;;
  start) start "${2:?keeper exe}" ;;
  stop) stop ;;
  *) echo "usage: wine-prefix.sh create | start KEEPER_EXE | stop" >&2; exit 2 ;;
esac
