#!/usr/bin/env python3
"""Writes a realistic, deterministic .bib file for the reader benchmarks.

usage: gen_bib.py [-n ENTRIES] [--seed SEED] OUTPUT

Entries carry 8 to 15 fields: braced and quoted values, nested braces and TeX
accents, multi-line abstracts, bare numbers and months, @string references
and concatenations, fields the catalogue does not know (doi, file), UTF-8
names. @string definitions come first, and a few % comments and blank lines
stand between entries. The same arguments always give the same bytes.
"""

import argparse
import random

FIRST = ["Anna", "Björn", "Chloé", "Dmitri", "Eva", "François", "Günther", "Hiroshi",
         "Inés", "Jürgen", "Katarzyna", "Lars", "Miloš", "Nuño", "Ørjan", "Paweł",
         "Qiang", "Renée", "Søren", "Tomáš", "Ulrike", "Václav", "Wei", "Xavier",
         "Yasmin", "Zoë", "John", "Mary", "Peter", "Sarah"]
LAST = ["Müller", "Øster", "García", "Nguyễn", "Šimůnek", "Smith", "O'Brien",
        "van der Berg", "de la Cruz", "Kowalski", "Dvořák", "Jäger", "Lefèvre",
        "Ibáñez", "Chen", "Takahashi", "Andersson", "Papadopoulos", "Rossi",
        "Schröder", "Brown", "Wilson", "Nakamura", "Ivanov", "Łukasiewicz"]
TEX_LAST = ["M{\\\"u}ller", "G{\\'a}lvez", "Erd{\\H{o}}s", "Pe{\\~n}a", "{\\v{C}}apek",
            "K{\\\"o}nig", "Br{\\aa}ten"]
WORDS = ("analysis of fast algorithms for sparse graphs with bounded degree and "
         "applications to learning distributed systems under uncertainty a note on "
         "convergence stochastic gradient methods in high dimensions robust "
         "estimation theory practice survey efficient verification of concurrent "
         "programs type systems for memory safety neural networks quantum").split()
TYPES = [("article", 40), ("inproceedings", 30), ("book", 8), ("incollection", 6),
         ("phdthesis", 4), ("techreport", 5), ("misc", 5), ("unpublished", 2)]
MONTHS = ["jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"]
PUBLISHERS = ["Springer", "Elsevier", "ACM Press", "IEEE Computer Society", "MIT Press",
              "Cambridge University Press", "Wiley", "O'Reilly"]
CITIES = ["Berlin", "New York", "Zürich", "København", "Kraków", "São Paulo", "Tokyo"]


def make_strings(rng, count):
    strings = []
    for i in range(count):
        abbrev = "j%03d" % i
        name = " ".join(rng.choice(WORDS).capitalize() for _ in range(rng.randint(2, 5)))
        if i % 7 == 0:
            strings.append((abbrev, '"Journal of ' + name + '"'))
        else:
            strings.append((abbrev, "{Journal of " + name + "}"))
    return strings


def person(rng):
    last = rng.choice(TEX_LAST) if rng.random() < 0.15 else rng.choice(LAST)
    first = rng.choice(FIRST)
    if rng.random() < 0.3:
        first = first[0] + "."
    return last + ", " + first


def title(rng):
    words = [rng.choice(WORDS) for _ in range(rng.randint(5, 14))]
    words[0] = words[0].capitalize()
    text = " ".join(words)
    if rng.random() < 0.3:
        text = "{" + rng.choice(["SAT", "GPU", "LaTeX", "BibTeX", "TCP/IP", "QED"]) + "}: " + text
    return text


def abstract_lines(rng):
    lines = []
    for _ in range(rng.randint(2, 6)):
        lines.append(" ".join(rng.choice(WORDS) for _ in range(rng.randint(8, 14))))
    return lines


def braced_or_quoted(rng, text):
    return '"' + text + '"' if rng.random() < 0.2 else "{" + text + "}"


def entry(rng, index, strings):
    kind = rng.choices([t for t, _ in TYPES], weights=[w for _, w in TYPES])[0]
    year = rng.randint(1965, 2024)
    authors = [person(rng) for _ in range(rng.randint(1, 6))]
    key = authors[0].split(",")[0].replace("{", "").replace("}", "").replace("\\", "")
    key = "".join(c for c in key if c.isalnum()) + str(year) + "-" + str(index)
    fields = [("author", braced_or_quoted(rng, " and ".join(authors))),
              ("title", "{" + title(rng) + "}"),
              ("year", str(year) if rng.random() < 0.7 else "{%d}" % year)]
    if kind == "article":
        journal = rng.choice(strings)[0]
        if rng.random() < 0.1:
            journal = journal + ' # " (Special Issue)"'
        fields += [("journal", journal), ("volume", str(rng.randint(1, 80))),
                   ("number", "{%d}" % rng.randint(1, 12))]
    elif kind in ("inproceedings", "incollection"):
        fields += [("booktitle", "{Proceedings of the " + title(rng) + "}"),
                   ("publisher", "{" + rng.choice(PUBLISHERS) + "}")]
    elif kind == "book":
        fields += [("publisher", "{" + rng.choice(PUBLISHERS) + "}"),
                   ("address", "{" + rng.choice(CITIES) + "}"),
                   ("edition", "{" + rng.choice(["First", "Second", "Third"]) + "}")]
    elif kind == "phdthesis":
        fields += [("school", "{University of " + rng.choice(CITIES) + "}")]
    elif kind == "techreport":
        fields += [("institution", "{" + rng.choice(PUBLISHERS) + " Research}"),
                   ("number", "{TR-%d-%03d}" % (year, rng.randint(1, 999)))]
    else:
        fields += [("howpublished", "{\\url{https://example.org/%d}}" % index),
                   ("note", "{Accessed " + str(year) + "}")]
    optional = [
        ("pages", lambda: "{%d--%d}" % (p := rng.randint(1, 900), p + rng.randint(1, 40))),
        ("month", lambda: rng.choice(MONTHS)),
        ("doi", lambda: "{10.%d/%d.%d}" % (rng.randint(1000, 9999), year, index)),
        ("url", lambda: "{https://doi.example.org/%d/%d}" % (year, index)),
        ("keywords", lambda: "{" + ", ".join(rng.choice(WORDS) for _ in range(4)) + "}"),
        ("isbn", lambda: "{978-%d-%d-%d-%d}" % (rng.randint(0, 9), rng.randint(100, 999),
                                                rng.randint(10000, 99999), rng.randint(0, 9))),
        ("file", lambda: "{:papers/%s.pdf:PDF}" % key),
        ("language", lambda: "{english}"),
        ("note", lambda: "{" + title(rng) + "}"),
        ("issn", lambda: "{%04d-%04d}" % (rng.randint(0, 9999), rng.randint(0, 9999))),
        ("abstract", None),
    ]
    rng.shuffle(optional)
    have = {name for name, _ in fields}
    target = rng.randint(8, 15)
    abstract = None
    for name, make in optional:
        if len(fields) + (abstract is not None) >= target:
            break
        if name in have:
            continue
        if make is None:
            abstract = abstract_lines(rng)
        else:
            fields.append((name, make()))
        have.add(name)
    head = "@" + (kind if rng.random() < 0.8 else kind.capitalize()) + "{" + key + ",\n"
    parts = []
    for name, value in fields:
        parts.append("  " + name + " = " + value)
    if abstract is not None:
        parts.append("  abstract = {" + abstract[0] + "\n" +
                     "\n".join("    " + line for line in abstract[1:]) + "}")
    return head + ",\n".join(parts) + ("," if rng.random() < 0.5 else "") + "\n}\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output")
    parser.add_argument("-n", "--entries", type=int, default=100000)
    parser.add_argument("--seed", type=int, default=20240917)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    strings = make_strings(rng, 300)
    with open(args.output, "w", encoding="utf-8", newline="\n") as out:
        out.write("%% Generated benchmark bibliography: %d entries, seed %d\n\n"
                  % (args.entries, args.seed))
        for abbrev, value in strings:
            out.write("@string{" + abbrev + " = " + value + "}\n")
        out.write("\n")
        for i in range(args.entries):
            if i % 500 == 0:
                out.write("%% ---- part %d ----\n" % (i // 500))
            out.write(entry(rng, i, strings))
            out.write("\n")


if __name__ == "__main__":
    main()
