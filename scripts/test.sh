#!/usr/bin/env bash
# Builds Quarvel and runs every test: first the normal build, then the core and its tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer, then each fuzz harness for a
# short fixed number of runs under both sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build
(cd build && ctest --output-on-failure -j "$jobs")

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUARVEL_SANITIZE=ON \
      -DQUARVEL_BENCH=OFF -DQUARVEL_GUI=OFF >/dev/null
cmake --build build-asan
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j "$jobs")

scripts/fuzz.sh
