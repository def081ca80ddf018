#!/usr/bin/env bash
# Builds Quarvel and runs every test: first the normal build and its tests (with the checks of
# the folder layering, the formatting and the test timeouts), then the core and its tests again
# under AddressSanitizer and UndefinedBehaviorSanitizer, then each fuzz harness for a fixed
# number of runs under both sanitizers. Ends with the time each stage took. The benchmarks are
# built and run by scripts/bench.sh, not here.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
source scripts/ccache.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

summary=""
report() { [ -n "$summary" ] && printf '\nstage          time  processor time\n%b' "$summary"; }
trap report EXIT
# The processor time (user and system) of this script's finished child processes, in ticks.
ticks() { awk '{ print $16 + $17 }' /proc/$$/stat; }
# Runs the command that follows as the stage named $1.
stage() {
    local name=$1 start=$SECONDS ticks0
    ticks0=$(ticks)
    shift
    "$@"
    summary+=$(printf '  %-10s %6d s %9d s' "$name" $((SECONDS - start)) \
                      $((($(ticks) - ticks0) / $(getconf CLK_TCK))))'\n'
}

build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUARVEL_BENCH=OFF \
          "${launcher[@]}" >/dev/null
    cmake --build build
}
asan_build() {
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Sanitize -DQUARVEL_SANITIZE=ON \
          -DQUARVEL_BENCH=OFF -DQUARVEL_GUI=OFF "${launcher[@]}" >/dev/null
    cmake --build build-asan
}

stage build build
# Most of these tests wait more than they compute (on the programs they start, X servers,
# timers): twice as many run at a time as there are processors.
stage test ctest --test-dir build --output-on-failure -j $((2 * jobs))
stage asan-build asan_build
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    stage asan-test ctest --test-dir build-asan --output-on-failure -j "$jobs"
stage fuzz-build scripts/fuzz.sh build
stage fuzz-runs scripts/fuzz.sh
