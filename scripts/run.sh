#!/usr/bin/env bash
# Builds Quarvel and starts the editor from its program folder, on the generated chip set.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
cd build/Quarvel
exec ./quarvel "$@"
