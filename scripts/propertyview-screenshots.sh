#!/usr/bin/env bash
# Takes pictures of the property window for the help pages: an article with
# its ignored fields shown, the yellow edit box of a string field, and the
# string picker. Usage: scripts/propertyview-screenshots.sh [FOLDER]
# (default: the current folder). Offscreen; needs no display.
set -euo pipefail
source "$(dirname "$0")/common.sh"
out="$(realpath -m "${1:-.}")"
mkdir -p "$out"
"$QVN_ROOT/scripts/install-deps.sh"
if [ ! -f "$QVN_BUILD/build.ninja" ]; then
    qvn_build "$QVN_BUILD" >&2
fi
cmake --build "$QVN_BUILD" --target tst_propertyview >&2
QT_QPA_PLATFORM=offscreen "$QVN_BUILD/tests/gui/tst_propertyview" --screenshots "$out"
ls "$out"/propertyview-*.png
