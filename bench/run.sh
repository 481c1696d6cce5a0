#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks in release mode (build/bench), runs them all and
# prints each figure against the floor measured in the same run:
#
#   bench/run.sh            # about three minutes
#   bench/run.sh --quick    # fewer repetitions, for a first look
#
# Where the browser's site has been built (build/web/site), its figures
# follow: bench/web_bench.py, against absolute targets.
#
# Raw results go to build/bench/results/. Times are process CPU time (all
# threads), the least over repetitions shuffled among all cases, as noise
# on a shared machine only ever adds time; start-up is wall time and peak
# resident memory from /usr/bin/time -v, medians of alternating runs.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VIRTALAB_BENCH_BUILD:-$here/build/bench}
results=$build/results
repetitions=15
runs=31
if [ "${1:-}" = "--quick" ]; then
    repetitions=5
    runs=9
fi

if [ ! -x /usr/bin/time ]; then
    echo "bench/run.sh needs GNU time (/usr/bin/time): apt-get install time" >&2
    exit 1
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVIRTALAB_BUILD_TESTS=OFF -DVIRTALAB_BUILD_BENCH=ON -DVIRTALAB_WERROR=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target \
    bench_screen bench_slider startup_probe startup_bare startup_bare_modules >/dev/null

mkdir -p "$results"
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$runtime LC_ALL=C.UTF-8

# --- Google Benchmark figures -------------------------------------------

benchmark() { # name program args...
    local name=$1
    shift
    echo "running $name" >&2
    # Repetitions of all cases are shuffled together, so that a change in the
    # machine's load during the run falls on floors and figures alike.
    "$@" --benchmark_repetitions="$repetitions" --benchmark_enable_random_interleaving=true \
        --benchmark_min_time=0.1 --benchmark_report_aggregates_only=true \
        --benchmark_format=csv >"$results/$name.csv" 2>"$results/$name.log"
}
benchmark screen-x1 "$build/bench/bench_screen" --ratio=1
benchmark screen-x2 "$build/bench/bench_screen" --ratio=2
benchmark slider "$build/bench/bench_slider" --ratio=1

# Least process CPU time in microseconds over the repetitions of the
# benchmarks matching a pattern: "name time" lines.
fastest() { # file pattern
    awk -F, -v pattern="$2" '
        { gsub(/"/, "", $1) }
        $1 ~ pattern && $1 ~ /_min$/ {
            name = $1
            sub(/\/process_time_min$/, "", name)
            scale = ($5 == "ns") ? 0.001 : ($5 == "us") ? 1 : ($5 == "ms") ? 1000 : 1e6
            printf "%s %.3f\n", name, $4 * scale
        }' "$1"
}

# --- start-up probes ----------------------------------------------------

census=$("$build/bench/startup_probe")
: >"$results/startup.txt"
startup() { # label program args...
    local label=$1
    shift
    local report=$runtime/time.txt start end
    start=$(date +%s%N)
    /usr/bin/time -v -o "$report" "$@" >/dev/null
    end=$(date +%s%N)
    local kb
    kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$report")
    echo "$label $(((end - start) / 1000)) $kb" >>"$results/startup.txt"
}
echo "running start-up probes" >&2
for _ in $(seq "$runs"); do
    # shellcheck disable=SC2086 # the census is a list of arguments
    startup bare "$build/bench/startup_bare" $census
    startup program "$build/bench/startup_probe"
    # shellcheck disable=SC2086
    startup modules "$build/bench/startup_bare_modules" $census
done

# Median of column (2: microseconds, 3: kilobytes) for a label.
startupMedian() { # label column
    awk -v label="$1" -v column="$2" '$1 == label { print $column }' "$results/startup.txt" |
        sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# --- the table ------------------------------------------------------------

scaled() { # value divisor
    awk -v v="$1" -v d="$2" 'BEGIN { printf "%.1f", v / d }'
}

# A target of "-" marks a row kept for information, with no target to meet.
row() { # figure measured floor unit target
    awk -v figure="$1" -v measured="$2" -v floor="$3" -v unit="$4" -v target="$5" 'BEGIN {
        ratio = measured / floor
        if (target == "-") {
            printf "%-38s %9.1f %-2s %9.1f %-2s %6.2f %6s  %s\n", figure, measured, unit,
                floor, unit, ratio, "-", "info"
        } else {
            printf "%-38s %9.1f %-2s %9.1f %-2s %6.2f %6.2f  %s\n", figure, measured, unit,
                floor, unit, ratio, target, (ratio <= target ? "pass" : "FAIL")
        }
    }'
}

printf "%-38s %12s %12s %6s %6s  %s\n" figure measured floor ratio target result
# The slowest case matching pattern and not exclude, as "wave sweep [moved]
# time" with the prefix taken off.
worst() { # file pattern prefix exclude
    fastest "$1" "$2" | grep -v "$4" | sort -k2 -n -r | head -1 | sed "s|^$3||; s|/| |g"
}
for ratio in 1 2; do
    file=$results/screen-x$ratio.csv
    floor=$(fastest "$file" "/hidden" | awk '{ print $2 }')
    read -r wave sweep time < <(worst "$file" "/(sawtooth|sine|rectangle)/" "screen/x$ratio/" /moved)
    row "screen repaint x$ratio ($wave $sweep)" "$time" "$floor" us 1.5
done
step=$(fastest "$results/slider.csv" "/sl4" | awk '{ print $2 }')
row "slider step sl4" "$step" "$(fastest "$results/slider.csv" "/trace" | awk '{ print $2 }')" us 1.2
row "slider step sl4 (slider and fill only)" "$step" \
    "$(fastest "$results/slider.csv" "/bare" | awk '{ print $2 }')" us -
row "start-up to first paint" "$(scaled "$(startupMedian program 2)" 1000)" \
    "$(scaled "$(startupMedian bare 2)" 1000)" ms 1.3
row "peak resident memory" "$(scaled "$(startupMedian program 3)" 1024)" \
    "$(scaled "$(startupMedian bare 3)" 1024)" MB 1.2
echo
echo "The screen repainted right after the trace moved, so that it is drawn"
echo "afresh rather than copied (worst case against the same floor):"
for ratio in 1 2; do
    file=$results/screen-x$ratio.csv
    floor=$(fastest "$file" "/hidden" | awk '{ print $2 }')
    read -r wave sweep _ time < <(worst "$file" "/moved" "screen/x$ratio/" "^$")
    awk -v r="$ratio" -v c="$wave $sweep" -v t="$time" -v f="$floor" \
        'BEGIN { printf "  x%s (%s): %.1f us, %.2f x the floor\n", r, c, t, t / f }'
done
echo "A bare window also linking the program's other Qt modules (Multimedia,"
echo "PrintSupport): $(scaled "$(startupMedian modules 2)" 1000) ms," \
    "$(scaled "$(startupMedian modules 3)" 1024) MB."
echo "Every case: $results/"

# --- the browser ------------------------------------------------------------

if [ -f "$here/build/web/site/index.html" ] && command -v chromium >/dev/null 2>&1; then
    echo
    echo "running the browser's figures (build/web/site)" >&2
    if [ "${1:-}" = "--quick" ]; then
        python3 "$here/bench/web_bench.py" "$here/build/web/site" 3 2
    else
        python3 "$here/bench/web_bench.py" "$here/build/web/site"
    fi
else
    echo
    echo "The browser's figures need the site (./setup.sh web) and chromium."
fi
