#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own prefix; ctest uses it as the cross-compiling emulator.
export WINEDEBUG=${WINEDEBUG:--all}
if [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-run.sh: WINEPREFIX is not set; run the tests through scripts/test.sh" >&2
  exit 2
fi
exec wine "$@"
