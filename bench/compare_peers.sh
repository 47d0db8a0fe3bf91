#!/usr/bin/env bash
# Times our reader against other BibTeX readers on the same generated file and
# prints a Markdown table (MB/s and entries/s from the mean wall time).
#   bench/compare_peers.sh [ENTRIES]    (default 10000; bibtool slows down
#                                        sharply on much larger files)
# Tools: quorvane-cli check (release build in build-bench/), bibtool, and
# Debian's python3-bibtexparser. Uses hyperfine when installed, else `time`.
set -euo pipefail
entries="${1:-10000}"
source "$(dirname "$0")/generated_file.sh" "$entries"
bytes=$(stat -c %s "$file")
# Debian's module, not one a virtual environment may shadow.
python=/usr/bin/python3

declare -a names commands runs
names+=("quorvane-cli check")
commands+=("'$build/src/cli/quorvane-cli' check '$file'")
runs+=(10)
if command -v bibtool >/dev/null; then
    names+=("bibtool")
    commands+=("bibtool -q -o /dev/null '$file'")
    runs+=(5)
fi
if "$python" -c 'import bibtexparser' 2>/dev/null; then
    names+=("python3 bibtexparser $("$python" -c 'import bibtexparser; print(bibtexparser.__version__)')")
    commands+=("$python -c 'import sys, bibtexparser; from bibtexparser.bparser import BibTexParser; bibtexparser.load(open(sys.argv[1], encoding=\"utf-8\"), parser=BibTexParser(common_strings=True))' '$file'")
    runs+=(2)
fi

mean_seconds() { # command runs
    if command -v hyperfine >/dev/null; then
        local json
        json="$(mktemp)"
        hyperfine --style none --warmup 1 --runs "$2" --export-json "$json" "$1" >/dev/null 2>&1
        "$python" -c 'import json, sys; print(json.load(open(sys.argv[1]))["results"][0]["mean"])' "$json"
        rm -f "$json"
    else
        local total=0 t
        for _ in $(seq "$2"); do
            t=$( { TIMEFORMAT=%R; time bash -c "$1" >/dev/null 2>&1; } 2>&1 )
            total=$(echo "$total + $t" | bc -l)
        done
        echo "$total / $2" | bc -l
    fi
}

echo "File: $(basename "$file"), $entries entries, $bytes bytes ($(command -v hyperfine >/dev/null && echo hyperfine || echo time), mean wall time)"
echo
echo "| reader | mean time (s) | MB/s | entries/s |"
echo "|---|---:|---:|---:|"
for i in "${!names[@]}"; do
    mean="$(mean_seconds "${commands[$i]}" "${runs[$i]}")"
    "$python" -c 'import sys; name, mean, size, n = sys.argv[1], float(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4]); print("| %s | %.3f | %.1f | %.0f |" % (name, mean, size / 1e6 / mean, n / mean))' \
        "${names[$i]}" "$mean" "$bytes" "$entries"
done
echo
echo "Commands:"
for i in "${!names[@]}"; do
    echo "    ${commands[$i]}"
done
