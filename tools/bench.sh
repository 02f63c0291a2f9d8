#!/usr/bin/env bash
# Builds the benchmark (Release) and prints its table: min / median / max of several runs.
# Options go to the benchmark: --runs N, --sizes 10000,100000,1000000, --keno N, --no-baseline.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
qrt_install_deps
qrt_build_release qrt-bench
exec build/release/bench/qrt-bench "$@"
