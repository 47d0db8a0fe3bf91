#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quorvane
# need. Packages already present are skipped; sudo is used only when not root.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config ccache
    qt6-base-dev qt6-base-dev-tools libgl-dev libqt6svg6
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth
    clang libclang-rt-dev clang-format clang-tidy
    texlive-binaries texlive-base
    bibtool python3 python3-bibtexparser
)
if [ "${QVN_WITH_TOOLS:-0}" = 1 ]; then
    packages+=(imagemagick hyperfine xdotool openbox)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
