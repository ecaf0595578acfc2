#!/usr/bin/env bash
# Whole-program figures on a sample installation grown to 99 instances besides the base, in registry
# mode as a new installation starts (and, for tarnctl apply, in XML mode too). Each figure is the median
# of several runs, each on a fresh copy of the installation.
#
#   bench/process-bench.sh [BUILD_DIR] [RUNS]      (default build/default, 5)
#
# Prints: tarnctl add-instance from 98 to 99 instances, tarnctl apply with nothing changed, tarnctl set of
# one value, list and verify; tarnctl rollback of the add-instance and of the set; tarnctl import of the
# 99 instances' document into an installation of the base instance alone and into the installation it made
# (nothing to change); in each mode, apply and set beside their dry runs (and the ratio of each dry run to
# the save it previews); the login window's start-up against an empty Qt window started the same way (and
# their ratio); and the time from the login's Ok to the main window showing the 99 instances.
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$repo/build/default}" && pwd)"
runs="${2:-5}"
tarnctl="$build/config_tool/tarnctl/tarnctl"
startup="$build/bench/bench_startup"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# --- An installation of 98 instances besides the base, saved once so that every store holds it ---
template="$work/template"
TARNCTL="$tarnctl" "$repo/scripts/make-sample-installation.sh" "$template" >/dev/null
home="$template/drive_c/ORVANT"
xml="$home/conf/ORVANTConfiguration.xml"
head -c -"$(tail -n 2 "$xml" | wc -c)" "$xml" >"$work/head.xml"
{
    cat "$work/head.xml"
    for n in $(seq 2 98); do
        nn=$(printf '%02d' "$n")
        cp -r "$home/INSTANCE_01" "$home/INSTANCE_$nn"
        sed -i "s|INSTANCE_01/properties|INSTANCE_$nn/properties|" "$home/INSTANCE_$nn/properties/terminal.properties"
        cp "$home/bin/ReceiptPrinter.exe" "$home/bin/ReceiptPrinter_$nn.exe"
        printf '\t\t<InstanceConfiguration>\r\n\t\t\t<InstanceId>%s</InstanceId>\r\n' "$nn"
        printf '\t\t\t<PINByPass>False</PINByPass>\r\n\t\t\t<Port>100%s</Port>\r\n' "$nn"
        printf '\t\t\t<ReceiptDir>C:\\ORVANT\\INSTANCE_%s</ReceiptDir>\r\n' "$nn"
        printf '\t\t\t<InputDir>C:\\ORVANT\\INSTANCE_%s\\in</InputDir>\r\n' "$nn"
        printf '\t\t\t<OutputDir>C:\\ORVANT\\INSTANCE_%s\\out</OutputDir>\r\n' "$nn"
        printf '\t\t</InstanceConfiguration>\r\n'
    done
    printf '\t</InstanceConfigurationList>\r\n</ORVANTConfiguration>\r\n'
} >"$work/grown.xml"
mv "$work/grown.xml" "$xml"
printf 'orvant-demo\n' >"$template/pw"

# Runs a command in a fresh copy of the installation (not timed), then times COMMAND there.
in_copy() {
    rm -rf "$work/copy"
    cp -a "$1" "$work/copy"
    sed -i "s|$1|$work/copy|g" "$work/copy/env.sh"
}
elapsed_ms() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
ctl() { (. "$work/copy/env.sh" && "$tarnctl" --password-file "$work/copy/pw" "$@"); }

in_copy "$template"
elapsed_ms ctl apply >/dev/null
cp -a "$work/copy" "$work/saved98"
sed -i "s|$work/copy|$work/saved98|g" "$work/saved98/env.sh"

measure() {
    local label="$1" source="$2"
    shift 2
    local times=()
    for _ in $(seq "$runs"); do
        in_copy "$source"
        times+=("$(elapsed_ms "$@")")
    done
    last=$(printf '%s\n' "${times[@]}" | median)
    printf '%-44s %6s ms\n' "$label" "$last"
}

# A save, then its dry run, with the dry run's time as a multiple of the save's.
measure_with_dry_run() {
    local label="$1" source="$2"
    shift 2
    measure "tarnctl $label" "$source" ctl "$@"
    local saved="$last"
    measure "tarnctl --dry-run $label" "$source" ctl --dry-run "$@"
    printf '%-44s %6s x the save\n' "" "$(awk -v a="$last" -v b="$saved" 'BEGIN { printf "%.2f", a / (b > 0 ? b : 1) }')"
}

measure "tarnctl add-instance, 98 -> 99 (registry)" "$work/saved98" ctl add-instance
in_copy "$work/saved98"
ctl add-instance >/dev/null
cp -a "$work/copy" "$work/saved99"
sed -i "s|$work/copy|$work/saved99|g" "$work/saved99/env.sh"
measure_with_dry_run "apply, nothing changed (registry)" "$work/saved99" apply
measure_with_dry_run "set 50 Timeout=45 (registry)" "$work/saved99" set 50 Timeout=45
# A rollback puts back the newest save: in saved99 the add-instance that made instance 99.
measure "tarnctl rollback of add-instance 98 -> 99" "$work/saved99" ctl rollback
in_copy "$work/saved99"
ctl set 50 Timeout=45 >/dev/null
cp -a "$work/copy" "$work/set99"
sed -i "s|$work/copy|$work/set99|g" "$work/set99/env.sh"
measure "tarnctl rollback of set 50 Timeout=45" "$work/set99" ctl rollback
# The document of the 99 instances, less the folders their Socket interface hides (the hand-grown instances
# hold some; import refuses to change a field the window hides, and a new instance has none there).
in_copy "$work/saved99"
ctl export | python3 -c '
import json, sys
document = json.load(sys.stdin)
for values in document["instances"].values():
    if values["InterfaceMethod"] == "0":
        del values["InputDir"], values["OutputDir"]
json.dump(document, sys.stdout, indent=2)' >"$work/fleet99.json"
# The sample installation less instance 1: the base instance alone.
TARNCTL="$tarnctl" "$repo/scripts/make-sample-installation.sh" "$work/base" >/dev/null
python3 - "$work/base/drive_c/ORVANT/conf/ORVANTConfiguration.xml" <<'REMOVE'
import sys
path = sys.argv[1]
xml = open(path, "rb").read()
start = xml.index(b"\t\t<InstanceConfiguration>\r\n\t\t\t<InstanceId>01<")
end = xml.index(b"\t\t</InstanceConfiguration>\r\n", start) + len(b"\t\t</InstanceConfiguration>\r\n")
open(path, "wb").write(xml[:start] + xml[end:])
REMOVE
rm -rf "$work/base/drive_c/ORVANT/INSTANCE_01" "$work/base/drive_c/ORVANT/bin/ReceiptPrinter_01.exe"
printf 'orvant-demo\n' >"$work/base/pw"
measure "tarnctl import of 99, into the base alone" "$work/base" ctl import "$work/fleet99.json"
in_copy "$work/base"
ctl import "$work/fleet99.json" >/dev/null
cp -a "$work/copy" "$work/imported99"
sed -i "s|$work/copy|$work/imported99|g" "$work/imported99/env.sh"
in_copy "$work/imported99"
ctl --changed-exit 10 import "$work/fleet99.json" # 10 would mean the second import changed something
measure "tarnctl import of 99, nothing to change" "$work/imported99" ctl import "$work/fleet99.json"
measure "tarnctl list" "$work/saved99" ctl list
measure "tarnctl verify" "$work/saved99" ctl verify
in_copy "$work/saved99"
ctl set Configuration=xml >/dev/null
cp -a "$work/copy" "$work/xml99"
sed -i "s|$work/copy|$work/xml99|g" "$work/xml99/env.sh"
measure_with_dry_run "apply, nothing changed (xml)" "$work/xml99" apply
measure_with_dry_run "set 50 Timeout=45 (xml)" "$work/xml99" set 50 Timeout=45

if [ -x "$startup" ]; then
    export QT_QPA_PLATFORM=offscreen
    empty=() login=()
    for _ in $(seq $((runs * 2))); do
        empty+=("$(elapsed_ms "$startup" empty)")
        login+=("$(elapsed_ms "$startup" login)")
    done
    e=$(printf '%s\n' "${empty[@]}" | median)
    l=$(printf '%s\n' "${login[@]}" | median)
    printf '%-44s %6s ms\n' "empty Qt window on screen" "$e"
    printf '%-44s %6s ms (%s x the empty window)\n' "login window on screen" "$l" \
        "$(awk -v a="$l" -v b="$e" 'BEGIN { printf "%.2f", a / b }')"
    mains=()
    for _ in $(seq "$runs"); do
        in_copy "$work/saved99"
        shown=$(. "$work/copy/env.sh" && "$startup" main <"$work/copy/pw")
        mains+=("${shown%% *}")
    done
    printf '%-44s %6s ms (%s)\n' "login Ok -> main window with 99 instances" \
        "$(printf '%s\n' "${mains[@]}" | median)" "${shown#*, }"
fi
