#!/bin/sh
# Builds the fuzz targets with clang and the sanitizers, writes their seeds
# from our generators, and runs each target for a while (a minute by default),
# a few at a time. Crash inputs land in <build>/artifacts/, logs in <build>/logs/.
#   fuzz/run.sh [target ...]        (default: every target)
# Environment: KOV_FUZZ_SECONDS (60), KOV_FUZZ_PARALLEL (3), KOV_FUZZ_BUILD
# (build/fuzz), KOV_FUZZ_JOBS (build jobs, 3).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KOV_FUZZ_BUILD:-$root/build/fuzz}
secs=${KOV_FUZZ_SECONDS:-60}
parallel=${KOV_FUZZ_PARALLEL:-3}
jobs=${KOV_FUZZ_JOBS:-3}

# One target (the script runs itself this way, several at once).
if [ "${1:-}" = "--one" ]; then
  t=$2
  corpus=$build/corpus/${t#fuzz_}
  mkdir -p "$corpus"
  # Leaks are not findings here: Qt keeps caches for the life of the process.
  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen \
    "$build/fuzz/$t" "$corpus" -max_total_time="$secs" -timeout=20 -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$t-" >"$build/logs/$t.log" 2>&1 || true
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/logs/$t.log" | tail -1)
  time=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$build/logs/$t.log" | tail -1)
  crashes=$(ls "$build/artifacts" | grep -c "^$t-" || true)
  printf '%-16s runs %-10s seconds %-4s crash files %s\n' "$t" "${runs:-?}" "${time:-?}" "$crashes"
  exit 0
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOV_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
  -DKOV_BUILD_TESTS=OFF -DKOV_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$jobs" --target kovfuzz

targets=${*:-$(cd "$build/fuzz" && ls | grep '^fuzz_[a-z]*$')}
rm -rf "$build/corpus" "$build/artifacts" "$build/logs"
mkdir -p "$build/corpus" "$build/artifacts" "$build/logs"
ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen "$build/fuzz/kovfuzzseeds" "$build/corpus" "$build/run/cfg"

export KOV_FUZZ_BUILD="$build" KOV_FUZZ_SECONDS="$secs"
for t in $targets; do echo "$t"; done | xargs -P "$parallel" -n 1 "$0" --one
n=$(ls "$build/artifacts" | wc -l)
echo "crash files: $n (in $build/artifacts)"
[ "$n" -eq 0 ]
