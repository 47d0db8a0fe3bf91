#!/usr/bin/env bash
# Takes docs/screenshot-main.png: the example project in the main window on a
# virtual 1600x1000 display with a window manager: one BibTeX file's items
# with an item selected in the list and shown in the property window.
# Needs QVN_WITH_TOOLS=1 scripts/install-deps.sh (imagemagick, xdotool,
# openbox). Usage: scripts/screenshot.sh [OUTPUT.png]
#   QVN_SHOT_DIR=/home/mira  shows the project from that folder (created and
#                            left in place) instead of a temporary one
set -euo pipefail
source "$(dirname "$0")/common.sh"
out="$(realpath -m "${1:-$QVN_ROOT/docs/screenshot-main.png}")"
qvn_build "$QVN_BUILD" >&2
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The project is shown from a neutral folder, with settings of its own.
shown="${QVN_SHOT_DIR:-$work}"
mkdir -p "$work/home" "$shown/thesis"
cp -r "$QVN_ROOT/examples/thesis.qvp" "$QVN_ROOT/examples/thesis-bib" "$shown/thesis/"
export HOME="$work/home"
xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
    openbox >/dev/null 2>&1 &
    sleep 1
    cd "$1/thesis"
    "$2" thesis.qvp >/dev/null 2>&1 &
    app=$!
    sleep 4
    xdotool mousemove 113 171 click 1; sleep 1; xdotool mousemove 500 135 click 1 mousemove 1100 700
    sleep 1
    import -window root "$3"
    kill $app
' _ "$shown" "$QVN_BUILD/src/app/quorvane" "$out"
echo "Wrote $out"
