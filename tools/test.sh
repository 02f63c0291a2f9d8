#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test,
# after checking the formatting.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
qrt_install_deps clang-format
echo "==> Checking the formatting with clang-format"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "==> Building with AddressSanitizer and UndefinedBehaviorSanitizer in build/test"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DQRT_SANITIZE=ON -DQRT_WERROR=ON > /dev/null
cmake --build build/test -j"$(nproc)"
echo "==> Running the tests"
ctest --test-dir build/test --output-on-failure
