#!/usr/bin/env bash
# Installs the Debian 12 packages the project builds, tests and runs with. Idempotent: when every
# package is present it changes nothing and needs no root.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang clang-format libclang-rt-14-dev
    qt6-base-dev libqt6opengl6-dev
    libpugixml-dev libexpat1-dev nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
    mingw-w64 googletest wine wine64
    xvfb xauth
    dpkg-dev
    lintian help2man man-db python3-debian
    ansible-core
)
# Installed without what they recommend: ansible-core recommends Debian's whole set of Ansible collections
# (package ansible), and the fleet test needs none of them.
without_recommends=(ansible-core)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

# The Windows build compiles pugixml from Debian's own source package (cmake/PugixmlFromDebian.cmake),
# which `apt-get source` finds only through source entries for the archive. They go in files of their
# own, made from the machine's own binary entries; the machine's sources files stay as they were.
deb_src=/etc/apt/sources.list.d/orvant-deb-src
deb_src_missing=false
[ -e "$deb_src.sources" ] || [ -e "$deb_src.list" ] || deb_src_missing=true

if [ ${#missing[@]} -eq 0 ] && ! $deb_src_missing; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
        exec sudo "$0" "$@"
    fi
    needs="${missing[*]}"
    ! $deb_src_missing || needs+="${needs:+, }the archive's source entries ($deb_src.*)"
    echo "install-deps: adding these needs root: $needs" >&2
    exit 1
fi

# deb822 stanzas (*.sources) and one-line entries (*.list) that give binary packages, turned into the
# same entries for source packages.
add_deb_src_entries() {
    local file stanzas="" lines=""
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -e "$file" ] && [ "$file" != "$deb_src.sources" ] || continue
        stanzas+=$(awk 'BEGIN { RS = ""; FS = "\n" }
            {
                types = ""; enabled = 1
                for (i = 1; i <= NF; i++) {
                    if ($i ~ /^Types:/) types = " " substr($i, 7) " "
                    if ($i ~ /^Enabled: *[Nn]o/) enabled = 0
                }
                if (!enabled || types !~ /[ \t]deb[ \t]/) next
                for (i = 1; i <= NF; i++) print ($i ~ /^Types:/ ? "Types: deb-src" : $i)
                print ""
            }' "$file")$'\n\n'
    done
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -e "$file" ] && [ "$file" != "$deb_src.list" ] || continue
        lines+=$(sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$file")$'\n'
    done
    [ -z "${stanzas//$'\n'/}" ] || printf '%s' "$stanzas" > "$deb_src.sources"
    [ -z "${lines//$'\n'/}" ] || printf '%s' "$lines" > "$deb_src.list"
    if [ -z "${stanzas//$'\n'/}${lines//$'\n'/}" ]; then
        echo "install-deps: no archive among the apt sources; the Windows build cannot fetch pugixml" >&2
    fi
}

export DEBIAN_FRONTEND=noninteractive
if $deb_src_missing; then
    echo "install-deps: adding source entries for the archive ($deb_src.*)"
    add_deb_src_entries
fi
echo "install-deps: installing ${missing[*]:-no packages}"
apt-get update -q
plain=() bare=()
for p in "${missing[@]}"; do
    if [[ " ${without_recommends[*]} " == *" $p "* ]]; then bare+=("$p"); else plain+=("$p"); fi
done
[ ${#plain[@]} -eq 0 ] || apt-get install -y -q "${plain[@]}"
[ ${#bare[@]} -eq 0 ] || apt-get install -y -q --no-install-recommends "${bare[@]}"
