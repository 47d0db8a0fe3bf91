# Shared by ./run and ./test: install what is missing, configure, build.
# Sourced, not executed.
QVN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QVN_BUILD="${QVN_BUILD_DIR:-$QVN_ROOT/build}"

# ccache, when installed, shares compiled objects between build folders and
# clones (paths inside the checkout are hashed relative to it).
if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$QVN_ROOT}"
    export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
    QVN_LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
else
    QVN_LAUNCHER=()
fi

qvn_build() {
    # $1: build dir, rest: extra cmake options for the first configure
    local dir="$1"; shift
    "$QVN_ROOT/scripts/install-deps.sh"
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$QVN_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="${QVN_BUILD_TYPE:-RelWithDebInfo}" \
            "${QVN_LAUNCHER[@]}" "$@"
    fi
    cmake --build "$dir" -j "$(nproc)"
}
