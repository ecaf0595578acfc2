#!/usr/bin/env bash
# tarnctl.exe under Wine against tarnctl on Linux: the same commands on the same sample installation,
# then the files each wrote compared byte for byte, and the registry values that tarnctl.exe wrote into
# Wine's registry (read back with `wine reg query`) compared with those the Linux build wrote into its
# hive files. Then two tarnctl.exe runs at once on different instances, which must both be kept.
# Runs in the Wine prefix that scripts/wine-tests.sh prepared (WINEPREFIX), whose C:\ORVANT it uses.
#     scripts/wine-end-to-end.sh POSIX_TARNCTL WINDOWS_TARNCTL
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
posix_tarnctl="$(realpath "$1")"
windows_tarnctl="$(realpath "$2")"
if [ -z "${WINEPREFIX:-}" ]; then
    echo "wine-end-to-end: WINEPREFIX is not set; run it through scripts/wine-tests.sh" >&2
    exit 2
fi
export WINEDEBUG="${WINEDEBUG:--all}"

work="$(mktemp -d "${TMPDIR:-/tmp}/orvant-e2e-XXXXXX")"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "wine-end-to-end: FAILED: $*" >&2
    failures=$((failures + 1))
}

# One sample installation, copied before any password exists, so that passwd provisions it on each side.
TARNCTL="$posix_tarnctl" "$repo/scripts/make-sample-installation.sh" "$work/posix" >/dev/null
rm "$work/posix/drive_c/ORVANT/properties/configuser.properties"
windows_home="$WINEPREFIX/drive_c/ORVANT"
rm -rf "$windows_home"
for hive in HKCU HKLM; do
    wine reg delete "$hive\\SOFTWARE\\Kelbrin" /f >/dev/null 2>&1 || true
done
cp -a "$work/posix/drive_c/ORVANT" "$windows_home"
# shellcheck source=/dev/null
. "$work/posix/env.sh"
password="orvant-e2e1"
printf '%s\n' "$password" >"$work/stdin"

# Backup IDs and save times differ between two runs (IDs are times; within one second they get -2, -3).
without_times() {
    sed -E -e 's/^[0-9]{8}T[0-9]{6}Z(-[0-9]+)?/ID/' -e 's/\t[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9:]{8}Z\t/\tTIME\t/' "$1"
}

# Runs one tarnctl command on both sides, the password on standard input: it must succeed on both, with
# the same standard output (made "\n"-ended, without backup IDs and times).
both() {
    local name="$1" status_posix status_windows
    shift
    status_posix=0
    "$posix_tarnctl" "$@" <"$work/stdin" >"$work/$name.posix.out" 2>"$work/$name.posix.err" || status_posix=$?
    status_windows=0
    wine "$windows_tarnctl" "$@" <"$work/stdin" 2>"$work/$name.windows.err" | tr -d '\r' \
        >"$work/$name.windows.out" || status_windows=$?
    if [ "$status_posix" -ne 0 ]; then
        fail "$name: tarnctl exited $status_posix: $(cat "$work/$name.posix.err")"
    fi
    if [ "$status_windows" -ne "$status_posix" ]; then
        fail "$name: tarnctl.exe exited $status_windows, tarnctl $status_posix: $(tr -d '\r' <"$work/$name.windows.err")"
    fi
    if ! cmp -s <(without_times "$work/$name.posix.out") <(without_times "$work/$name.windows.out"); then
        fail "$name: the output differs:"
        diff "$work/$name.posix.out" "$work/$name.windows.out" >&2 || true
    fi
}

both passwd --password-stdin passwd
both set-registry --password-stdin set Timeout=45 HBLHost=10.0.0.5
both set-pinpad --password-stdin set 1 "PinPad=Verifone Vx670" PinPadPort=5001
both add-instance --password-stdin add-instance
both dry-run --password-stdin --dry-run set 2 Timeout=50 ReceiptWidth=44
both apply --password-stdin apply
both verify verify
both set-xml-mode --password-stdin set Configuration=xml
both set-in-xml-mode --password-stdin set 2 Timeout=52 ReceiptWidth=44
both backups --password-stdin backups
both rollback --password-stdin rollback
both verify-after-rollback verify
both show --password-stdin show 2
echo "wine-end-to-end: $(wc -l <"$work/backups.posix.out") backups on each side; rollback, verify: $(cat "$work/verify-after-rollback.posix.out")"

# Every file the commands write, byte for byte.
compared=0
while IFS= read -r -d '' file; do
    relative="${file#"$work/posix/drive_c/ORVANT/"}"
    compared=$((compared + 1))
    if ! cmp -s "$file" "$windows_home/$relative"; then
        fail "$relative differs between the Linux and the Windows run"
        cmp "$file" "$windows_home/$relative" >&2 || true
    fi
done < <(find "$work/posix/drive_c/ORVANT" -path '*/backups' -prune -o \
    \( -name ORVANTConfiguration.xml -o -name '*.properties' \) -type f -print0)
echo "wine-end-to-end: $compared files compared (ORVANTConfiguration.xml and every .properties)"

# The registry values, as "KEY<TAB>NAME<TAB>TYPE<TAB>TEXT" lines with key paths in upper case. The hive
# files keep REG_SZ values as "text" (with a NUL) or hex(1) bytes (without one); `reg query` shows text.
hive_values() {
    awk -v RS='\r\n' '
        function text_of(hex,    n, i, bytes, out, c) {
            n = split(tolower(hex), bytes, ","); out = ""
            for (i = 1; i <= n; i++) {
                c = 16 * (index("0123456789abcdef", substr(bytes[i], 1, 1)) - 1) + index("0123456789abcdef", substr(bytes[i], 2, 1)) - 1
                if (c != 0) out = out sprintf("%c", c)
            }
            return out
        }
        { sub(/^ +/, "") }
        /\\$/ { pending = pending substr($0, 1, length($0) - 1); next }
        { line = pending $0; pending = "" }
        line ~ /^\[/ { key = toupper(substr(line, 2, length(line) - 2)); next }
        line ~ /^"/ {
            match(line, /^"([^"\\]|\\.)*"=/); name = substr(line, 2, RLENGTH - 3); data = substr(line, RLENGTH + 1)
            if (data ~ /^hex\(1\):/) { print key "\t" name "\tREG_SZ\t" text_of(substr(data, 8)) }
            else if (data ~ /^"/) { data = substr(data, 2, length(data) - 2); gsub(/\\\\/, "\\", data); print key "\t" name "\tREG_SZ\t" data }
            else { print key "\t" name "\tOTHER\t" data }
        }' "$1"
}
# Wine's reg query shows an empty REG_SZ without terminator (no bytes at all) with whatever its buffer
# held before (the value listed before it); reg export shows it as "", as it shows a one-character text
# without terminator. So a value that the Linux hive holds empty counts as empty when reg export shows
# "" for it; every other value is compared with what reg query shows.
empty_values() {
    wine reg export "$1\\SOFTWARE\\Kelbrin" "$work/export.reg" /y >/dev/null 2>&1
    iconv -f UTF-16 -t UTF-8 "$work/export.reg" | tr -d '\r' | awk '
        /^\[/ { key = toupper(substr($0, 2, length($0) - 2)) }
        /^".*"=""$/ { name = substr($0, 2, length($0) - 5); print key "\t" name }'
}
reg_query_values() {
    # Empty in the export and in the Linux hive.
    empty_values "$1" | sort >"$work/exported-empty"
    awk -F '\t' '$4 == "" { print $1 "\t" $2 }' "$work/$1.posix" | sort | comm -12 - "$work/exported-empty" >"$work/empty"
    wine reg query "$1\\SOFTWARE\\Kelbrin" /s 2>/dev/null | tr -d '\r' | awk -v empty="$work/empty" '
        BEGIN { while ((getline line < empty) > 0) blank[line] = 1 }
        /^HKEY_/ { key = toupper($0); next }
        /^    / {
            sub(/^    /, ""); n = index($0, "    "); name = substr($0, 1, n - 1); rest = substr($0, n + 4)
            m = index(rest, "    "); type = m ? substr(rest, 1, m - 1) : rest; data = m ? substr(rest, m + 4) : ""
            if (name == "(Default)" && data == "") next
            if ((key "\t" name) in blank) data = ""
            print key "\t" name "\t" type "\t" data
        }'
}
for hive in HKEY_CURRENT_USER HKEY_LOCAL_MACHINE; do
    hive_values "$work/posix/registry/$hive.reg" | sort >"$work/$hive.posix"
    reg_query_values "$hive" | sort >"$work/$hive.windows"
    if [ ! -s "$work/$hive.posix" ]; then
        fail "$hive: the Linux run wrote no registry value"
    elif ! cmp -s "$work/$hive.posix" "$work/$hive.windows"; then
        fail "$hive: the registry values differ (< Linux hive file, > wine reg query):"
        diff "$work/$hive.posix" "$work/$hive.windows" >&2 || true
    fi
    echo "wine-end-to-end: $hive: $(wc -l <"$work/$hive.posix") values compared with wine reg query"
done

# Two saves at once on different instances, each waiting for the other's lock: both are kept.
wine "$windows_tarnctl" --password-stdin --wait 60 set 0 Timeout=60 <"$work/stdin" >/dev/null 2>&1 &
first=$!
wine "$windows_tarnctl" --password-stdin --wait 60 set 1 Timeout=61 <"$work/stdin" >/dev/null 2>&1 &
second=$!
wait "$first" || fail "the first of two parallel runs exited $?"
wait "$second" || fail "the second of two parallel runs exited $?"
for n in 0 1; do
    value=$(wine "$windows_tarnctl" --password-stdin show "$n" <"$work/stdin" | tr -d '\r' | sed -n 's/^Timeout=//p')
    [ "$value" = "6$n" ] || fail "after two parallel runs instance $n has Timeout=$value, not 6$n"
done
[ "$(wine "$windows_tarnctl" verify | tr -d '\r')" = "match" ] || fail "verify after two parallel runs"
echo "wine-end-to-end: two parallel tarnctl.exe runs on instances 0 and 1 both kept"

if [ "$failures" -ne 0 ]; then
    echo "wine-end-to-end: $failures check(s) failed" >&2
    exit 1
fi
echo "wine-end-to-end: tarnctl.exe and tarnctl wrote the same files and registry values"
