#!/usr/bin/env bash
# Runs every test CI runs: the formatting check, the check that every planted fault still matches the
# code, the default and sanitizer builds with their tests, the Ansible collection's example playbook
# against three local installations, one short run of each benchmark and of the real-X picture, the
# Debian package, the Windows side built with mingw-w64 with its tests run under Wine, and short bounded
# runs of the fuzz targets.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)

echo "== format: the sources as clang-format writes them"
find platform config_tool env_tool tests -name '*.cpp' -o -name '*.h' | sort | xargs clang-format --dry-run -Werror

echo "== planted faults: every text of every fault still matches the code"
python3 scripts/plant-faults.py --check

for preset in default sanitize; do
    echo "== ${preset}: configure, build, test"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs" -LE ansible
done

echo "== ansible: ansible-playbook runs the example playbook against three local installations"
started=$(date +%s)
ctest --preset default -L ansible
echo "== ansible: $(($(date +%s) - started)) s"

echo "== tools: each benchmark once, briefly; the main window's picture in a real X server"
build/default/bench/bench_saves --benchmark_min_time=0.01 >/dev/null 2>&1
bench/process-bench.sh build/default 1 >/dev/null 2>&1
cmake -DPROGRAM=build/default/scripts/screenshot/tarnconf_screenshot \
    -DOUTPUT=build/default/screenshots/tarnconf-general.png -DWORK_DIR=build/default/screenshots \
    -P scripts/screenshot/RunInXvfb.cmake

echo "== package: build the Debian package and check its contents"
scripts/check-package.sh build/default

echo "== mingw: the Windows side built with mingw-w64; its tests, tarnctl.exe end to end and the zip under Wine"
started=$(date +%s)
scripts/wine-tests.sh
echo "== mingw: $(($(date +%s) - started)) s"

echo "== fuzz: bounded fuzzing runs"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
ctest --preset fuzz -j "$jobs"
