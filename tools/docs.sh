#!/usr/bin/env bash
# Builds the reference of the installed headers with Doxygen into build/docs/html (open
# build/docs/html/index.html). Fails on any undocumented public member or documentation error.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
qrt_install_deps doxygen
mkdir -p build/docs
echo "==> Generating the reference of include/qrt in build/docs/html"
( cat docs/Doxyfile; echo "OUTPUT_DIRECTORY = build/docs" ) | doxygen -
echo "==> build/docs/html/index.html"
