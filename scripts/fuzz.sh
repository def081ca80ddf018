#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ (clang, AddressSanitizer and UndefinedBehaviorSanitizer)
# into build-fuzz/ and runs them.
#   scripts/fuzz.sh                every harness for a fixed number of runs (the test step)
#   scripts/fuzz.sh build          only the build
#   scripts/fuzz.sh NAME SECONDS   one harness (map, picture, blit, bmpreader, chipsheet, datlib,
#                                  editscript, chippng, maptext) for that long, keeping what it finds
# The seeds in fuzz/corpus/NAME are only read; new inputs go to build-fuzz/corpus/NAME and an
# input that fails a check or crashes to build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
source scripts/ccache.sh
# Line tables are all the reports need to name file and line; full debug information would
# cost 8 % more compiling.
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARVEL_FUZZ=ON \
      -DCMAKE_CXX_COMPILER=clang++ \
      "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -gline-tables-only -DNDEBUG" "${launcher[@]}" >/dev/null
cmake --build build-fuzz --target fuzz_all
[ "${1:-}" = build ] && exit
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

# The short runs: a fixed number of runs each from the seeds alone, 3 to 10 s of processor
# time each (about 50 s in all), as many harnesses at a time as there are processors. The time
# limit only stops a harness that hangs: one that reaches it before its runs are done fails
# the step.
cap=${QUARVEL_FUZZ_CAP:-300}
declare -A runs=([map]=2000 [picture]=4000 [blit]=60000 [bmpreader]=300000 [chipsheet]=4000
                 [datlib]=3000 [editscript]=15000 [chippng]=600 [maptext]=300)
rm -rf build-fuzz/short
mkdir -p build-fuzz/short
for name in map picture datlib chipsheet editscript blit bmpreader chippng maptext; do
    echo "$name ${runs[$name]}"
done | xargs -P "$jobs" -n 2 sh -c '
    name=$0 n=$1 cap='"$cap"'
    log=build-fuzz/short/$name.log
    mkdir -p build-fuzz/short/$name
    if ! build-fuzz/fuzz/${name}_fuzz -artifact_prefix=build-fuzz/artifacts/$name- -timeout=25 \
           -runs=$n -max_total_time=$cap -seed=1 build-fuzz/short/$name fuzz/corpus/$name \
           >$log 2>&1; then
        tail -n 40 $log
        echo "fuzz $name FAILED (log: $log)"
        exit 255
    fi
    result=$(sed -n "s/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\1 \2/p" $log)
    set -- $result
    if [ -z "${1:-}" ] || [ "$1" -lt "$n" ]; then
        echo "fuzz $name STOPPED after ${1:-?} of $n runs at the $cap s limit (log: $log)"
        exit 255
    fi
    printf "fuzz %-10s %s runs in %s s\n" "$name" "$1" "$2"'
