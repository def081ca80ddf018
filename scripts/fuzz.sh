#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ (clang, AddressSanitizer and UndefinedBehaviorSanitizer)
# into build-fuzz/ and runs them.
#   scripts/fuzz.sh                every harness for a short fixed number of runs (the test step)
#   scripts/fuzz.sh NAME SECONDS   one harness (map, picture, blit, bmpreader, chipsheet, datlib,
#                                  editscript, chippng, maptext) for that long, keeping what it finds
# The seeds in fuzz/corpus/NAME are only read; new inputs go to build-fuzz/corpus/NAME and an
# input that fails a check or crashes to build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARVEL_FUZZ=ON \
      -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
cmake --build build-fuzz --target fuzz_all
mkdir -p build-fuzz/artifacts
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# Runs harness $1 with the extra libFuzzer options that follow, new inputs into corpus folder $2.
run() {
    local name=$1 work=$2
    shift 2
    mkdir -p "$work"
    "build-fuzz/fuzz/${name}_fuzz" -artifact_prefix="build-fuzz/artifacts/${name}-" -timeout=25 \
        "$@" "$work" "fuzz/corpus/$name"
}

if [ $# -ge 1 ]; then
    [ -x "build-fuzz/fuzz/${1}_fuzz" ] || { echo "no harness '$1'" >&2; exit 2; }
    run "$1" "build-fuzz/corpus/$1" -max_total_time="${2:-60}" -print_final_stats=1
    exit
fi

# The short runs: a fixed number of runs each from the seeds alone (about 10 s of processor
# time each, at most 40 s), as many harnesses at a time as there are processors.
declare -A runs=([map]=4000 [picture]=10000 [blit]=150000 [bmpreader]=300000 [chipsheet]=4000
                 [datlib]=3000 [editscript]=15000 [chippng]=600 [maptext]=300)
rm -rf build-fuzz/short
mkdir -p build-fuzz/short
for name in map picture datlib chipsheet editscript blit bmpreader chippng maptext; do
    echo "$name ${runs[$name]}"
done | xargs -P "$jobs" -n 2 sh -c '
    name=$0 n=$1
    mkdir -p build-fuzz/short/$name
    if build-fuzz/fuzz/${name}_fuzz -artifact_prefix=build-fuzz/artifacts/$name- -timeout=25 \
           -runs=$n -max_total_time=40 -seed=1 build-fuzz/short/$name fuzz/corpus/$name \
           >build-fuzz/short/$name.log 2>&1; then
        printf "fuzz %-10s %s\n" "$name" "$(grep -E "DONE|Done" build-fuzz/short/$name.log | tr "\n" " ")"
    else
        tail -n 40 build-fuzz/short/$name.log
        echo "fuzz $name FAILED (log: build-fuzz/short/$name.log)"
        exit 255
    fi'
