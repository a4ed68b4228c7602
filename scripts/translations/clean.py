#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""Prints what in the catalogue PO, of the language LANG, a reader would
trip on, and fails if anything: a {name} the page fills in lost or added,
a plain space inside a number, where a line may break, or quotation marks
and spaces that are not the language's own.

    scripts/translations/clean.py LANG PO
"""
import gettext
import re
import subprocess
import sys
import tempfile

# Each language's quotation marks, for the English “…”.
QUOTES = {"de": "„“", "es": "«»", "fr": "«»", "it": "«»", "nl": "“”", "pl": "„”", "pt_BR": "“”"}
# French sets these off with a no-break space, never a plain one or none.
FRENCH = [(r"(?<![\u00a0\u202f])[:;?!»]", "no no-break space before"), (r"«(?![\u00a0\u202f])", "none after")]


def faults(lang, english, said):
    if sorted(re.findall(r"\{\w+\}", english)) != sorted(re.findall(r"\{\w+\}", said)):
        yield "its {names} differ from the English's"
    if re.search(r"\d \d", said):
        yield "a plain space inside a number"
    if "\u201c" in english:
        marks = re.findall(r"[\"\u201c\u201d\u201e\u00ab\u00bb]", said)
        if marks != list(QUOTES.get(lang, "\u201c\u201d")) * (len(marks) // 2) or not marks:
            yield "quotation marks other than %s" % QUOTES.get(lang)
    # The menu's keywords are a list, whose semicolons are no punctuation.
    if lang == "fr" and not re.search(r"\w;\w", english):
        yield from (why + " " + m[0] for pattern, why in FRENCH for m in re.finditer(pattern, said))


def main():
    lang, po = sys.argv[1], sys.argv[2]
    with tempfile.NamedTemporaryFile(suffix=".mo") as mo:
        subprocess.run(["msgfmt", "-o", mo.name, po], check=True)
        with open(mo.name, "rb") as f:
            catalogue = gettext.GNUTranslations(f)._catalog
    found = [(english, why) for english, said in catalogue.items() if english
             for why in faults(lang, english, said)]
    for english, why in found:
        print("%s: %s: %s" % (lang, english[:60], why))
    sys.exit(1 if found else 0)


if __name__ == "__main__":
    main()
