#!/usr/bin/env bash
# Prints the lines of the tests over those of the product code: non-blank lines that are not
# comments, in .cpp, .h, .cmake and CMakeLists.txt files. The tests are everything under
# tests/; the product is every other folder but examples/, fuzz/, bench/, tools/, build/,
# docs/, packaging/ and translations/. The project keeps the figure at a third or less.
set -euo pipefail
cd "$(dirname "$0")/.."

# Non-blank lines outside comments (// and /* */ for C++, # for CMake) of the files given on
# standard input, one name a line.
count() {
    local total=0 n file
    while IFS= read -r file; do
        case "$file" in
        *.cmake | */CMakeLists.txt | CMakeLists.txt)
            n=$(grep -cvE '^[[:space:]]*(#|$)' "$file" || true) ;;
        *)
            n=$(sed -e ':a' -e 's|/\*[^*]*\*\+\([^/*][^*]*\*\+\)*/||g' -e '/\/\*/{N;ba}' "$file" |
                grep -cvE '^[[:space:]]*(//|$)' || true) ;;
        esac
        total=$((total + n))
    done
    echo "$total"
}

files() {
    git ls-files -- "$@" | grep -E '(\.cpp|\.h|\.cmake|(^|/)CMakeLists\.txt)$' || true
}

tests=$(files tests | count)
product=$(files . ':!tests' ':!examples' ':!fuzz' ':!bench' ':!tools' ':!build' ':!docs' \
                ':!packaging' ':!translations' | count)
# In tenths of a percent, rounded, so that a figure just above a third does not read as 33%.
tenths=$(((tests * 2000 / product + 1) / 2))
echo "Tests: $tests lines, product code: $product lines, tests/product:" \
     "$((tenths / 10)).$((tenths % 10))% (aim: a third or less, $((product / 3)) lines)"
