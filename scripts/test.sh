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

times=""
report() { [ -n "$times" ] && printf '\nstage times:\n%b' "$times"; }
trap report EXIT
# Runs the command that follows as the stage named $1.
stage() {
    local name=$1 start=$SECONDS
    shift
    "$@"
    times+=$(printf '  %-12s %4d s' "$name" $((SECONDS - start)))'\n'
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
stage test ctest --test-dir build --output-on-failure -j "$jobs"
stage asan-build asan_build
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    stage asan-test ctest --test-dir build-asan --output-on-failure -j "$jobs"
stage fuzz-build scripts/fuzz.sh build
stage fuzz-runs scripts/fuzz.sh
