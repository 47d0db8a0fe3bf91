#!/usr/bin/env bash
# Fails, naming the files, when a C++ source of the repository differs from
# what clang-format makes of it (.clang-format). Fix with:
#   scripts/check-format.sh --fix
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QVN_ROOT"
"$QVN_ROOT/scripts/install-deps.sh"
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then
    clang-format -i "${files[@]}"
    exit 0
fi
status=0
for f in "${files[@]}"; do
    if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
        echo "not formatted: $f" >&2
        status=1
    fi
done
[ $status = 0 ] || echo "run scripts/check-format.sh --fix" >&2
exit $status
