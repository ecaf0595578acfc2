#!/usr/bin/env bash
# Runs a Windows program under Wine in the prefix that scripts/wine-tests.sh prepared. Never the
# user's own ~/.wine: without WINEPREFIX it refuses.
#
# A Wine process the program started and left running would keep the program's output open, and ctest
# would wait for it until the test's timeout although every test had ended. So when the program ends,
# whatever is still running in the prefix is named on standard error and ended with the prefix's server.
set -euo pipefail
if [ -z "${WINEPREFIX:-}" ]; then
    echo "run-in-wine: WINEPREFIX is not set; run the Windows tests with scripts/wine-tests.sh" >&2
    exit 2
fi
export WINEDEBUG="${WINEDEBUG:--all}"
status=0
wine "$@" || status=$?
# Wine's own services (services.exe, winedevice.exe, plugplay.exe, svchost.exe, rpcss.exe, explorer.exe)
# run in every prefix; anything else is the program's.
left="$(ps -eo pid=,args= | grep -E '[.]exe' |
    grep -viE 'wineserver|\\(services|winedevice|plugplay|svchost|rpcss|explorer|conhost|start)\.exe' || true)"
if [ -n "$left" ]; then
    echo "run-in-wine: still running after $(basename "$1") ended:" >&2
    echo "$left" >&2
fi
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
exit "$status"
