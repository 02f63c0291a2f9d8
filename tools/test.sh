#!/usr/bin/env bash
# Checks the formatting, builds the Release tree that the install check installs and, where
# dpkg-deb exists, the Debian package that a test reads; builds everything with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs every test; ends with the share of
# test code (tools/test-ratio.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
qrt_install_deps clang-format
echo "==> Checking the formatting with clang-format"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
qrt_build_release
package_dir=""
if command -v dpkg-deb > /dev/null; then
    tools/package.sh
    package_dir="$PWD/build/package"
fi
echo "==> Building with AddressSanitizer and UndefinedBehaviorSanitizer in build/test"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DQRT_SANITIZE=ON -DQRT_WERROR=ON \
      -DQRT_RELEASE_DIR="$PWD/build/release" -DQRT_PACKAGE_DIR="$package_dir" > /dev/null
cmake --build build/test -j"$(nproc)"
echo "==> Running the tests"
ctest --test-dir build/test --output-on-failure -j"$(nproc)"
tools/test-ratio.sh
