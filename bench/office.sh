#!/usr/bin/env bash
# The speed of a whole office: 300 Marlo OP client databases of 1,000 rows each under one folder
# (four to a subfolder), each figure the median of 3 runs on a fresh copy of the folder:
#   1. 300 single "zelvan-konverter convert --db" runs, one after the other (the sum)
#   2. one "convert --alle" over the folder                       (target: at most 1.2 x figure 1)
#   3. one "convert --alle --probelauf" over the folder           (target: at most 1.5 x figure 1)
# Every run makes its backups and uses the real bank-code file when ../shared/bankdata/ has it,
# else the bundled sample. Builds into the folder given (default: build). Not part of the tests:
# the figures depend on the machine. Exits 1 when a target is missed.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
clients=${ZELVAN_OFFICE_CLIENTS:-300}
runs=3
bankfile=$(realpath -m ../shared/bankdata/bundesbank-format-20201207.txt)
[ -f "$bankfile" ] || bankfile=$(realpath data/ZELVANBLZ4.txt)

scripts/build "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
exe=$(realpath "$build/bin/zelvan-konverter")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 9 sample rows and 991 made-up ones per Marlo database; only the Marlo databases are converted.
"$build/bin/make-demo-databases" --mandanten "$clients" --marlo-zeilen 991 "$work/master" >/dev/null
fresh() {
    rm -rf "$work/kanzlei"
    cp -a "$work/master" "$work/kanzlei"
}

# Seconds one command takes on a fresh copy of the office.
timed() {
    fresh
    local start end
    start=$(date +%s.%N)
    bash -c "$1" >/dev/null 2>&1 || true
    end=$(date +%s.%N)
    echo "$end - $start" | bc
}

median() {
    local times=()
    for _ in $(seq "$runs"); do
        times+=("$(timed "$1")")
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { printf "%.3f", t[int((NR + 1) / 2)] }'
}

singles=$(median "find $work/kanzlei -name 'MARL*.MDB' -not -path '*/Sicherung_ZELVAN/*' | sort |
    while read -r db; do $exe convert --format 1 --db \"\$db\" --bankfile $bankfile; done")
batch=$(median "$exe convert --format 1 --alle $work/kanzlei --bankfile $bankfile")
dry=$(median "$exe convert --format 1 --alle $work/kanzlei --bankfile $bankfile --probelauf")

ratio() { echo "scale=3; $1 / $2" | bc; }
batchRatio=$(ratio "$batch" "$singles")
dryRatio=$(ratio "$dry" "$singles")

echo "Zelvan Konverter, $clients Mandanten zu 1.000 Zeilen, Median aus $runs Läufen ($(nproc) Kerne):"
printf '  %d einzelne convert --db, Summe:      %8s s\n' "$clients" "$singles"
printf '  convert --alle:                      %8s s   (%sx, Ziel <= 1,2x)\n' "$batch" "$batchRatio"
printf '  convert --alle --probelauf:          %8s s   (%sx, Ziel <= 1,5x)\n' "$dry" "$dryRatio"

missed=0
[ "$(echo "$batchRatio <= 1.2" | bc)" -eq 1 ] || missed=1
[ "$(echo "$dryRatio <= 1.5" | bc)" -eq 1 ] || missed=1
exit "$missed"
