#!/usr/bin/env bash
# Builds the Windows side with mingw-w64 (preset mingw) and runs its tests under Wine, in a fresh Wine
# prefix made for this run in a temporary folder and removed afterwards; ~/.wine is never touched.
#     scripts/wine-tests.sh [ctest arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$(nproc)"

# The prefix and the wine server's own temporary folder both live in the run's folder.
run="$(mktemp -d "${TMPDIR:-/tmp}/orvant-wine-XXXXXX")"
export WINEPREFIX="$run/prefix" TMPDIR="$run/tmp" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX" "$TMPDIR"
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    rm -rf "$run"
}
trap cleanup EXIT

# No display: the null graphics driver still lets programs create windows and receive broadcasts.
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
wineserver -w

ctest --preset mingw "$@"
