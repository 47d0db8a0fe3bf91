#!/usr/bin/env bash
# Reads a very large generated .bib file with quorvane-cli and prints wall
# time and peak memory of each step as Markdown table rows:
#   bench/large_file.sh [ENTRIES]      (default 1000000, about 500 MB)
# Steps: `check` (read only), `import` into a new project (read, merge, save
# the project file), `info` (open the project file). The file is generated
# once into build-bench/bench/data and kept (bench/generated_file.sh).
set -euo pipefail
entries="${1:-1000000}"
source "$(dirname "$0")/generated_file.sh" "$entries"
project="$data/large-$entries.qvp"
rm -f "$project" "$project.bak"
mb=$(( $(stat -L -c %s "$file") / 1000000 ))

# Runs the command and prints "| step | wall s | peak MB |".
measure() {
    local step="$1"
    shift
    local wall kb
    /usr/bin/time -o "$data/time.out" -f '%e %M' "$@" >/dev/null 2>&1 || true
    read -r wall kb <"$data/time.out"
    echo "| $step | $wall | $(( kb / 1024 )) |"
}

echo "generated file: $entries entries, $mb MB"
echo "| step | wall (s) | peak memory (MB) |"
echo "|---|---:|---:|"
measure "check (read the file)" "$cli" check "$file"
"$cli" new "$project" --location "$data" >/dev/null
measure "import (read, merge, save the project)" "$cli" import "$project" "$file"
measure "info (open the project)" "$cli" info "$project"
