#!/usr/bin/env bash
# Builds the benchmark (Release) and prints its table: min / median / max of several runs.
# Options go to the benchmark: --runs N, --sizes 10000,100000,1000000, --keno N, --no-baseline.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
qrt_install_deps
echo "==> Building the benchmark (Release) in build/release"
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF > /dev/null
cmake --build build/release -j"$(nproc)" --target qrt-bench
exec build/release/bench/qrt-bench "$@"
