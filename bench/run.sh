#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them all:  bench/run.sh [filter]
# The figures are recorded by hand in bench/RESULTS.md.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-bench"
"$root/scripts/install-deps.sh"
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVN_BUILD_GUI=OFF -DQVN_BUILD_TESTS=OFF
fi
cmake --build "$build" -j "$(nproc)"
for b in "$build"/bench/bench_*; do
    [ -x "$b" ] || continue
    case "$(basename "$b")" in *${1:-}*) ;; *) continue ;; esac
    echo "== $(basename "$b")"
    (cd "$root" && "$b")
done
