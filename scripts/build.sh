#!/usr/bin/env bash
# Configures and builds Quarvel into build/ (the program folder is build/Quarvel).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
source scripts/ccache.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
cmake --build build
