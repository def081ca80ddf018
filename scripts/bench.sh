#!/usr/bin/env bash
# Builds the benchmarks of bench/ (Google Benchmark) in the Release build build/ and runs them.
#   scripts/bench.sh [OPTION...]        every benchmark program
#   scripts/bench.sh NAME [OPTION...]   one: datlib, diskfile, editor, graphics, map, maptext,
#                                       render or gui_paint
# The options go to Google Benchmark, e.g. scripts/bench.sh map --benchmark_filter=BM_Load or
# --benchmark_min_time=0.01 for a quick pass.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
source scripts/ccache.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUARVEL_BENCH=ON "${launcher[@]}" \
      >/dev/null
cmake --build build --target bench_all
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

names=()
if [ $# -ge 1 ] && [[ $1 != -* ]]; then
    [ -x "build/bench/${1}_bench" ] || { echo "no benchmark '$1'" >&2; exit 2; }
    names=("$1")
    shift
else
    for program in build/bench/*_bench; do
        [ -x "$program" ] && names+=("$(basename "$program" _bench)")
    done
fi
for name in "${names[@]}"; do
    echo "== $name"
    "build/bench/${name}_bench" "$@"
done
