#!/usr/bin/env bash
# Seeds for the fuzzers: the shared .bib corpus (files under 1 MB) and small
# project files written with quorvane-cli from some of them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$1"
corpus="$root/../shared/corpus"
mkdir -p "$out/bib" "$out/project"
if [ -d "$corpus" ]; then
    find "$corpus" -name '*.bib' -size -1024k -exec cp {} "$out/bib/" \;
fi
printf '@article{k, title = {T}}\n' >"$out/bib/minimal.bib"
cli="$root/build/src/cli/quorvane-cli"
if [ -x "$cli" ]; then
    rm -f "$out/project/"*.qvp
    "$cli" new "$out/project/empty.qvp" --name P --location /tmp >/dev/null 2>&1 || true
    # Some of them hold fields, entry types, @preamble and @comment outside
    # the catalogue, so their project files carry an extension block.
    for f in bibtexparser--traps.bib biber--names.bib tidy--example2.bib php--string-var-with-special-char.bib \
        bbt--bibdesk-664.bib bibtexparser--multiline_comments.bib bbt--preamble-percent-95.bib; do
        [ -f "$corpus/$f" ] && "$cli" import "$out/project/${f%.bib}.qvp" "$corpus/$f" >/dev/null 2>&1 || true
    done
    # Names no file may be written under: another extension, a folder.
    if "$cli" import "$out/project/minimal.qvp" "$out/bib/minimal.bib" >/dev/null 2>&1; then
        perl -0pe 's/\x0bstrings\.bib/\x0cevil.desktop/; s/\x07minimal/\x07..\/evil/g' \
            "$out/project/minimal.qvp" >"$out/project/bad-names.qvp"
    fi
    # The records of an extension block alone (see fuzz_project.cpp): one file
    # record for "refs" with a comment, a DOI for "a" and a type name for "w".
    printf 'X\x01\x00\x04refs\x01\x00\x01\x00\x00\x00\x0b@comment{c}\x02\x00\x01a\x00\x01\x00\x03doi\x03{1}\x01w\x06online\x00\x00' \
        >"$out/project/block-records.bin"
fi
