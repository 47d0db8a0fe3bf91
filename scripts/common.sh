# Shared by ./run and ./test: install what is missing, configure, build.
# Sourced, not executed.
QVN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QVN_BUILD="${QVN_BUILD_DIR:-$QVN_ROOT/build}"

qvn_build() {
    # $1: build dir, rest: extra cmake options for the first configure
    local dir="$1"; shift
    "$QVN_ROOT/scripts/install-deps.sh"
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$QVN_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="${QVN_BUILD_TYPE:-RelWithDebInfo}" "$@"
    fi
    cmake --build "$dir" -j "$(nproc)"
}
