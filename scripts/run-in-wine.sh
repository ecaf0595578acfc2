#!/usr/bin/env bash
# Runs a Windows program under Wine in the prefix that scripts/wine-tests.sh prepared. Never the
# user's own ~/.wine: without WINEPREFIX it refuses.
set -euo pipefail
if [ -z "${WINEPREFIX:-}" ]; then
    echo "run-in-wine: WINEPREFIX is not set; run the Windows tests with scripts/wine-tests.sh" >&2
    exit 2
fi
export WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$@"
