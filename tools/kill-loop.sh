#!/usr/bin/env bash
# Kills imports at random moments and checks that the next start holds the old history or the
# new one, whole. Usage: tools/kill-loop.sh [KILLS] [DRAWS]   (defaults: 50 kills, 300000 draws)
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
empty=$work/empty.txt
: > "$empty"
held() { "$program" --data-dir "$work/data" --lottery 6:1-49 --import "$empty" 2>/dev/null; }

"$program" --data-dir "$work/data" --lottery 6:1-49 --import tests/data/de-6of49-1955-2026.txt
count=5031
# One timing of a whole import, to spread the kills over it.
awk -v n="$draws" -v base=$((40000000)) 'BEGIN { for (i = 0; i < n; i++) printf "%d 01 02 03 04 05 06\n", base + i }' > "$work/probe.txt"
start=$(date +%s%N)
"$program" --data-dir "$work/probe" --lottery 6:1-49 --import "$work/probe.txt" > /dev/null
span=$(( ($(date +%s%N) - start) / 1000000 ))
echo "one import of $draws draws takes $span ms"

lost=0
for ((k = 1; k <= kills; k++)); do
    awk -v n="$draws" -v base=$((50000000 + k * draws)) 'BEGIN { for (i = 0; i < n; i++) printf "%d 01 02 03 04 05 06\n", base + i }' > "$work/big.txt"
    "$program" --data-dir "$work/data" --lottery 6:1-49 --import "$work/big.txt" > /dev/null 2>&1 &
    pid=$!
    delay=$(( RANDOM % (span + 1) ))
    sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    now=$(held || true)
    if [ "$now" = "added 0, holds $count draws" ]; then
        verdict="old"
    elif [ "$now" = "added 0, holds $((count + draws)) draws" ]; then
        verdict="new"; count=$((count + draws))
    else
        verdict="LOST ($now)"; lost=$((lost + 1))
    fi
    leftovers=$(find "$work/data" -name '*.tmp-*' | wc -l)
    echo "kill $k at $delay ms: $verdict, $leftovers temporary files left"
done
echo "$kills kills, $lost lost"
[ "$lost" -eq 0 ]
