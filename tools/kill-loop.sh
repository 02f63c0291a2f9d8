#!/usr/bin/env bash
# Kills imports and checks that the next start holds the old history or the new one, whole.
# Usage: tools/kill-loop.sh [KILLS] [DRAWS]   (defaults: 50 kills, 300000 draws)
# Every import starts from the same history of 5,031 draws. Odd kills land at a random moment of
# the import; even ones the moment the save has deleted User.ltk and not yet written it anew.
# Runs the Release program; prints one line per kill and a summary "N kills, L lost".
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/deps.sh
qrt_install_deps
qrt_build_release qrt-datamanager
kills=${1:-50}
draws=${2:-300000}
program=$PWD/build/release/qrt-datamanager
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
: > "$work/empty.txt"
awk -v n="$draws" 'BEGIN { for (i = 0; i < n; i++) printf "%d 01 02 03 04 05 06\n", 50000000 + i }' \
    > "$work/big.txt"
"$program" --data-dir "$work/base" --lottery 6:1-49 --import tests/data/de-6of49-1955-2026.txt
user=$work/data/6_1-49/User.ltk
fresh() { rm -rf "$work/data" && cp -a "$work/base" "$work/data"; }
import() { "$program" --data-dir "$work/data" --lottery 6:1-49 --import "$1"; }

fresh
start=$(date +%s%N)
import "$work/big.txt" > /dev/null
span=$(( ($(date +%s%N) - start) / 1000000 ))
echo "one import of $draws draws takes $span ms"

lost=0
for ((k = 1; k <= kills; k++)); do
    fresh
    "$program" --data-dir "$work/data" --lottery 6:1-49 --import "$work/big.txt" > /dev/null 2>&1 &
    pid=$!
    if ((k % 2)); then
        delay=$(( RANDOM % (span + 1) ))
        sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
        moment="at $delay ms"
    else
        while [ -e "$user" ] && kill -0 "$pid" 2>/dev/null; do :; done
        moment="with User.ltk $([ -e "$user" ] && echo present || echo deleted)"
    fi
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    now=$(import "$work/empty.txt" 2>/dev/null || true)
    case "$now" in
    "added 0, holds 5031 draws") verdict=old ;;
    "added 0, holds $((5031 + draws)) draws") verdict=new ;;
    *) verdict="LOST ($now)"; lost=$((lost + 1)) ;;
    esac
    leftovers=$(find "$work/data" -name '*.tmp-*' | wc -l)
    echo "kill $k $moment: $verdict, $leftovers temporary files left"
done
echo "$kills kills, $lost lost"
[ "$lost" -eq 0 ]
