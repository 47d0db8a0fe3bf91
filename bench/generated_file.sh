# Sourced by the benchmark scripts: builds quorvane-cli in release mode in
# build-bench/ when it is missing, and generates build-bench/bench/data/
# generated-ENTRIES.bib once. Sets `build`, `data`, `cli` and `file`.
#   source bench/generated_file.sh ENTRIES
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-bench"
data="$build/bench/data"
cli="$build/src/cli/quorvane-cli"
file="$data/generated-$1.bib"

if [ ! -x "$cli" ]; then
    if [ ! -f "$build/build.ninja" ]; then
        cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVN_BUILD_GUI=OFF \
            -DQVN_BUILD_TESTS=OFF >/dev/null
    fi
    cmake --build "$build" --target quorvane-cli >/dev/null
fi
mkdir -p "$data"
if [ ! -f "$file" ]; then
    python3 "$root/bench/gen_bib.py" -n "$1" "$file.tmp"
    mv "$file.tmp" "$file"
fi
