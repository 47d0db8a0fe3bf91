#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a while:
#   fuzz/run.sh [SECONDS_PER_TARGET]   (default 60)
# Seeds: the shared corpus of .bib files and small project files written by
# fuzz/make_seeds.sh. New crashes are copied to fuzz/regressions/<target>/,
# where the ordinary test build replays them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
build="$root/build-fuzz"
out="$root/fuzz/out"
if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ not found; skipping the fuzzing runs" >&2
    exit 0
fi
if [ ! -f "$build/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DQVN_FUZZ=ON -DQVN_SANITIZE=ON -DQVN_BUILD_GUI=OFF -DQVN_BUILD_TESTS=OFF -DQVN_BUILD_BENCH=OFF
fi
cmake --build "$build" -j "$(nproc)"
"$root/fuzz/make_seeds.sh" "$out/seeds"
status=0
for target in fuzz_reader_text fuzz_reader_file fuzz_project fuzz_values; do
    corpus="$out/corpus/$target"
    crashes="$out/crashes/$target"
    mkdir -p "$corpus" "$crashes"
    case "$target" in
        fuzz_project) seeds="$out/seeds/project" ;;
        *) seeds="$out/seeds/bib" ;;
    esac
    echo "== $target (${seconds}s)"
    if ! ASAN_OPTIONS=detect_leaks=1 "$build/fuzz/$target" "$corpus" "$seeds" \
        -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=4096 -timeout=20 \
        -artifact_prefix="$crashes/" -print_final_stats=1 2>"$out/$target.log"; then
        status=1
        echo "fuzz: $target found a crash; see $out/$target.log" >&2
        mkdir -p "$root/fuzz/regressions/$target"
        cp "$crashes"/* "$root/fuzz/regressions/$target/" 2>/dev/null || true
    fi
    grep -E "stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb" "$out/$target.log" || true
done
exit $status
