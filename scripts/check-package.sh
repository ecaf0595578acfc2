#!/usr/bin/env bash
# Builds the Debian package with cpack in an already built folder (default build/default) and checks
# what it holds: the three programs, the desktop entry and icon of TarnConfig, and dependencies that
# include the Qt libraries and the Qt platform plugins.
set -euo pipefail
cd "$(dirname "$0")/.."

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

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "check-package: $(basename "$deb") holds TarnConfig, Varset, tarnctl, the desktop entry and the icon"
echo "check-package: Depends: $depends"
