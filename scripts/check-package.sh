#!/usr/bin/env bash
# Builds the Debian package with cpack in an already built folder (default build/default) and checks
# what it holds: the three programs, the desktop entry and icon of TarnConfig, and dependencies that
# include the Qt libraries and the Qt platform plugins; then Debian's checks (scripts/lint-deb.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

# The Windows zip that cpack makes in a mingw build folder: tarnctl.exe and Varset.exe, each a PE program
# that needs no DLL beside it (its C++ runtime linked in), and the text on their use, with CR LF.
#     scripts/check-package.sh --windows [build/mingw]
check_windows_zip() {
    local build=${1:-build/mingw} out zips zip listing folder failures=0 program dlls
    out="$build/package"
    rm -rf "$out"
    mkdir -p "$out"
    cpack --config "$build/CPackConfig.cmake" -G ZIP -B "$out" >"$out/cpack.log" 2>&1 || {
        cat "$out/cpack.log" >&2
        echo "check-package: cpack failed" >&2
        return 1
    }
    shopt -s nullglob
    zips=("$out"/*.zip)
    if [ ${#zips[@]} -ne 1 ]; then
        echo "check-package: expected one .zip in $out, found ${#zips[@]}" >&2
        return 1
    fi
    zip=${zips[0]}
    folder=$(basename "$zip" .zip)
    listing=$(cd "$out" && cmake -E tar tf "$(basename "$zip")" | grep -v '/$' | sort)
    if [ "$listing" != "$(printf '%s\n' "$folder/README.txt" "$folder/Varset.exe" "$folder/tarnctl.exe")" ]; then
        echo "check-package: $zip holds other files than tarnctl.exe, Varset.exe and README.txt:" >&2
        echo "$listing" >&2
        return 1
    fi
    (cd "$out" && cmake -E tar xf "$(basename "$zip")")
    for program in tarnctl Varset; do
        if [ "$(head -c 2 "$out/$folder/$program.exe")" != "MZ" ]; then
            echo "check-package: $program.exe is not a Windows program" >&2
            failures=$((failures + 1))
        fi
        # Only the system's own DLLs: the C++ runtime is linked in.
        dlls=$(x86_64-w64-mingw32-objdump -p "$out/$folder/$program.exe" | sed -n 's/^[[:space:]]*DLL Name: //p' |
            tr 'A-Z' 'a-z' | grep -vxE 'kernel32\.dll|msvcrt\.dll|advapi32\.dll|shell32\.dll|user32\.dll|api-ms-win-.*' || true)
        if [ -n "$dlls" ]; then
            echo "check-package: $program.exe needs DLLs that Windows does not bring: $dlls" >&2
            failures=$((failures + 1))
        fi
        if ! grep -q "^$program.exe " "$out/$folder/README.txt"; then
            echo "check-package: README.txt does not describe $program.exe" >&2
            failures=$((failures + 1))
        fi
    done
    if grep -q $'[^\r]$' "$out/$folder/README.txt"; then
        echo "check-package: README.txt has lines without CR LF" >&2
        failures=$((failures + 1))
    fi
    [ "$failures" -eq 0 ] || return 1
    echo "check-package: $(basename "$zip") holds tarnctl.exe and Varset.exe (no DLLs beside them) and README.txt"
}
if [ "${1:-}" = "--windows" ]; then
    check_windows_zip "${2:-}"
    exit
fi

build=${1:-build/default}
if [ ! -f "$build/CMakeCache.txt" ]; then
    echo "check-package: $build is not configured; build the default preset first" >&2
    exit 1
fi

out="$build/package"
rm -rf "$out"
mkdir -p "$out"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 || {
    cat "$out/cpack.log" >&2
    echo "check-package: cpack failed" >&2
    exit 1
}
shopt -s nullglob
debs=("$out"/*.deb)
if [ ${#debs[@]} -ne 1 ]; then
    echo "check-package: expected one .deb in $out, found ${#debs[@]}" >&2
    exit 1
fi
deb=${debs[0]}

failures=0
fail() {
    echo "check-package: $*" >&2
    failures=$((failures + 1))
}

contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/TarnConfig ./usr/bin/Varset ./usr/bin/tarnctl \
    ./usr/share/applications/tarnconfig.desktop ./usr/share/icons/hicolor/64x64/apps/tarnconfig.png; do
    if ! grep -qE "[[:space:]]${path//./\\.}( |$)" <<<"$contents"; then
        fail "the package lacks $path"
    fi
done
for program in TarnConfig Varset tarnctl; do
    if ! grep -E "[[:space:]]\./usr/bin/$program$" <<<"$contents" | grep -q '^-rwxr-xr-x'; then
        fail "/usr/bin/$program is not an executable file"
    fi
done

depends=$(dpkg-deb -f "$deb" Depends)
# Package names alone, one a line: versions and alternatives' bars dropped.
dependency_names=$(sed -e 's/([^)]*)//g' -e 's/[,|]/\n/g' <<<"$depends" | tr -d ' ')
for dependency in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins libpugixml1v5 libexpat1 libc6 libstdc++6; do
    if ! grep -qxF "$dependency" <<<"$dependency_names"; then
        fail "Depends lacks $dependency: $depends"
    fi
done
dpkg-deb -I "$deb" >/dev/null || fail "dpkg-deb cannot read the control information"

# The desktop entry starts the installed program under the installed icon's name.
entry=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/tarnconfig.desktop)
grep -qx 'Exec=TarnConfig' <<<"$entry" || fail "the desktop entry does not start TarnConfig"
grep -qx 'Icon=tarnconfig' <<<"$entry" || fail "the desktop entry does not name the tarnconfig icon"

scripts/lint-deb.sh "$deb" || fail "the package does not pass Debian's checks"

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "check-package: $(basename "$deb") holds TarnConfig, Varset, tarnctl, the desktop entry and the icon"
echo "check-package: Depends: $depends"
