#!/usr/bin/env bash
# Prints the Debian packages that own what a configured build tree loaded: every CMake package
# configuration in its cache (the <Package>_DIR entries) and every library, header or program
# that the configuration found. Run it on a configured tree to refresh the list in deps.sh:
#   tools/find-deps.sh build/test
set -euo pipefail
cache=${1:-build/test}/CMakeCache.txt
[ -f "$cache" ] || { echo "no configured build tree: $cache is missing" >&2; exit 2; }

owner() {
    # usrmerge: a file may be registered under /lib while it is reached through /usr/lib.
    local f=$1 real
    real=$(readlink -f "$f")
    for p in "$f" "$real" "${real#/usr}"; do
        dpkg -S "$p" 2>/dev/null | head -n 1 | cut -d: -f1 && return 0
    done
    echo "no package owns $f" >&2
}

{
    sed -n 's|^\([A-Za-z0-9_]*\)_DIR:PATH=\(/.*\)$|\2/\1Config.cmake|p' "$cache"
    sed -En 's#^[A-Za-z0-9_]+_(LIBRARY[A-Z_]*|EXECUTABLE):FILEPATH=(/.*)$#\2#p' "$cache"
    sed -n 's|^ZLIB_INCLUDE_DIR:PATH=\(/.*\)$|\1/zlib.h|p' "$cache"
} | sort -u | while read -r f; do
    [ -e "$f" ] && owner "$f"
done | sort -u
