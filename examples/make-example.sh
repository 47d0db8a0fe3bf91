#!/usr/bin/env bash
# Builds examples/thesis.qvp from the .bib files in examples/thesis-bib/ with
# quorvane-cli. The project keeps an empty BibTeX location, so that it names
# the folder of the project file wherever the example is opened.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/.." && pwd)"
build="${QVN_BUILD_DIR:-$root/build}"
cli="$build/src/cli/quorvane-cli"
if [ ! -x "$cli" ]; then
    "$root/scripts/install-deps.sh"
    [ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$build" --target quorvane-cli
fi
cd "$here"
"$cli" new thesis.qvp --force --name "Approximate Matching of Bibliographic Records" \
    --strings-file thesis-strings.bib
# The abbreviations first, then the chapters in the order of the thesis.
"$cli" import thesis.qvp thesis-bib/journals.bib thesis-bib/retrieval.bib \
    thesis-bib/matching.bib thesis-bib/citations.bib thesis-bib/typesetting.bib \
    thesis-bib/own.bib
"$cli" info thesis.qvp
