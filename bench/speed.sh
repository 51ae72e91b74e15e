#!/usr/bin/env bash
# Prints the speed figures of Zelvan Konverter, each the median of 5 runs:
#   1. 1,000,000 rows (real BLZs, random 1-10 digit accounts) through "zelvan-konverter iban",
#      the whole process, with the real bank-code file                       (target < 0.25 s)
#      and the same with --pruefziffer (account check digits)               (target < 1.3x the above)
#   2. load + convert + save of 100,000 Marlo rows through "zelvan-konverter convert"
#                                                                             (target < 2 s)
#   3. loading the real bank-code file (bankdir_bench, BM_LoadRealFile)       (target < 5 ms)
# Builds optimised into the folder given (default: build). Not part of the tests: the figures
# depend on the machine. Needs ../shared/bankdata/ beside the project for figures 1 and 3.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
runs=5
bankfile=$(realpath -m ../shared/bankdata/bundesbank-format-20201207.txt)
if [ ! -f "$bankfile" ]; then
    echo "Die echte BLZ-Datei fehlt: $bankfile" >&2
    exit 1
fi

scripts/build "$build" -DCMAKE_BUILD_TYPE=Release
exe=$(realpath "$build/bin/zelvan-konverter")

if ! command -v hyperfine >/dev/null; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get install -y hyperfine >/dev/null || true
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 1,000,000 rows: BLZs of the bank lines ("1" at position 9), accounts of 1 to 10 digits.
awk 'substr($0, 9, 1) == "1" { print substr($0, 1, 8) }' "$bankfile" > "$work/blz.txt"
awk -v rows=1000000 'BEGIN { srand(20201207) }
    { blz[n++] = $0 }
    END {
        for (i = 0; i < rows; ++i) {
            digits = 1 + int(rand() * 10)
            account = 1 + int(rand() * 9)
            for (d = 1; d < digits; ++d)
                account = account int(rand() * 10)
            print blz[int(rand() * n)] ";" account
        }
    }' "$work/blz.txt" > "$work/rows.txt"

# 100,000 Marlo rows: the 9 sample rows and 99,991 made-up ones.
"$build/bin/make-demo-databases" --marlo-zeilen 99991 "$work/db" >/dev/null
cp "$work/db/MARL001.MDB" "$work/snapshot.mdb"

# Median wall time in seconds of a command run $runs times, each after a preparation.
median() {
    local prepare=$1 command=$2
    if command -v hyperfine >/dev/null; then
        hyperfine --style none --warmup 1 --runs "$runs" --prepare "$prepare" --export-csv "$work/t.csv" \
            "$command" >/dev/null 2>&1
        awk -F, 'NR == 2 { printf "%.3f", $4 }' "$work/t.csv"
    else
        local times=() start end
        for _ in $(seq "$runs"); do
            bash -c "$prepare"
            start=$(date +%s.%N)
            bash -c "$command"
            end=$(date +%s.%N)
            times+=("$(echo "$end - $start" | bc)")
        done
        printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END { printf "%.3f", t[int((NR + 1) / 2)] }'
    fi
}

iban=$(median "true" "$exe iban --bankfile $bankfile < $work/rows.txt > /dev/null")
ibancheck=$(median "true" "$exe iban --pruefziffer --bankfile $bankfile < $work/rows.txt > /dev/null")
convert=$(median "cp $work/snapshot.mdb $work/db/MARL001.MDB" "$exe convert --format 1 --db $work/db/MARL001.MDB > /dev/null")
load=$("$build/bin/bankdir_bench" --benchmark_filter=BM_LoadRealFile --benchmark_repetitions="$runs" \
           --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
       awk -F, '$1 ~ /_median"?$/ { printf "%.2f", $3 }')

echo "Zelvan Konverter, Median aus $runs Läufen ($(nproc) Kerne, $(uname -m)):"
printf '  iban, 1.000.000 Zeilen, ganzer Prozess:               %6s s   (Ziel < 0,25 s)\n' "$iban"
printf '  iban --pruefziffer, 1.000.000 Zeilen:                 %6s s   (Ziel < 1,3 x iban)\n' "$ibancheck"
printf '  convert, 100.000 Zeilen laden, umwandeln, speichern:  %6s s   (Ziel < 2 s)\n' "$convert"
printf '  echte BLZ-Datei laden:                                %6s ms  (Ziel < 5 ms)\n' "$load"
echo "  Last: $(cut -d' ' -f1-3 /proc/loadavg)"
