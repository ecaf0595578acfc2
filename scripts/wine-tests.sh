#!/usr/bin/env bash
# Builds the Windows side with mingw-w64 (preset mingw: the platform layer, Varset, the configuration
# core and tarnctl.exe) and runs it under Wine, in a fresh Wine prefix made for this run in a temporary
# folder and removed afterwards; ~/.wine is never touched:
#   - the tests (one Wine process per test program), listing every test skipped on Windows and why;
#   - tarnctl.exe end to end against the Linux tarnctl (scripts/wine-end-to-end.sh);
#   - the Windows zip (scripts/check-package.sh --windows).
#     scripts/wine-tests.sh [ctest arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$(nproc)"
# The end-to-end run compares with what the Linux tarnctl writes.
posix_tarnctl=build/default/config_tool/tarnctl/tarnctl
if [ ! -x "$posix_tarnctl" ]; then
    cmake --preset default >/dev/null
    cmake --build --preset default -j "$(nproc)" --target tarnctl
fi

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

status=0
ctest --preset mingw -V "$@" >"$run/ctest.log" 2>&1 || status=$?
# A skipped test prints the condition it needs and why that does not hold, then its name.
awk '/Needs host::k/ { sub(/^[0-9]+: /, ""); reason = $0 }
     /\[  SKIPPED \] [A-Za-z_0-9]+\.[A-Za-z_0-9]+ \(/ { sub(/^[0-9]+: /, ""); print "skipped on Windows: " $4 ": " reason }' \
    "$run/ctest.log"
if [ "$status" -ne 0 ]; then
    grep -E -B2 -A20 'Failure|FAILED|Exception|Timeout' "$run/ctest.log" | head -400 >&2 || true
fi
grep -E '^ *[0-9]+/[0-9]+ Test|tests passed|Total Test time' "$run/ctest.log"
[ "$status" -eq 0 ] || exit "$status"

scripts/wine-end-to-end.sh "$posix_tarnctl" build/mingw/config_tool/tarnctl/tarnctl.exe
scripts/check-package.sh --windows build/mingw
