#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over the given sources,
# or over every source of src/ when none is given, against the compile
# commands of build/ (configured when missing). Exits non-zero on a finding.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QVN_ROOT"
if [ ! -f "$QVN_BUILD/compile_commands.json" ]; then
    qvn_build "$QVN_BUILD"
fi
if [ $# -eq 0 ]; then
    mapfile -t files < <(git ls-files 'src/*.cpp')
else
    files=("$@")
fi
# Qt's generated sources (moc) are built along; the checks read only ours.
clang-tidy -p "$QVN_BUILD" --quiet "${files[@]}"
