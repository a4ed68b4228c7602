#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""Writes the page's translations into DIR/words.js, from the catalogues in
PO that LINGUAS names: the keys of the page's own sentences (those of the
template that come from page/), each a hash of its English as words.js
computes it, and each language's translations in the keys' order, so that
no language carries the English again; and a web app manifest per language,
quorvel.<language>.webmanifest, with its description translated.
BOARD, the board's pixels inside the circle and in all as inside/total, goes
into words.js too, for the page's chart and sentences to quote.

    scripts/web/words.py DIR PO BOARD
"""
import gettext
import json
import os
import re
import subprocess
import sys
import tempfile

KEYS = "[/*@KEYS@*/]"
CATALOGUES = "{/*@CATALOGUES@*/}"
BOARD = "{/*@BOARD@*/}"
DESCRIPTION = "Watch an estimate of pi emerge from random samples"


def page_sentences(template):
    """The template's sentences that the page's files have."""
    with open(template, encoding="utf-8") as f:
        blocks = f.read().split("\n\n")
    found = set()
    for block in blocks:
        wanted = re.search(r"^#: .*page/", block, re.MULTILINE)
        text = re.search(r'^msgid "(.*)"$', block, re.MULTILINE)
        if wanted and text:
            found.add(json.loads('"%s"' % text[1]))
    return found


def key(text):
    """FNV-1a over the text's UTF-16 code units, in base 36."""
    units = text.encode("utf-16-le")
    found = 0x811C9DC5
    for i in range(0, len(units), 2):
        found = ((found ^ int.from_bytes(units[i:i + 2], "little")) * 0x01000193) & 0xFFFFFFFF
    digits = ""
    while True:
        found, digit = divmod(found, 36)
        digits = "0123456789abcdefghijklmnopqrstuvwxyz"[digit] + digits
        if not found:
            return digits


def catalogue(po):
    with tempfile.NamedTemporaryFile(suffix=".mo") as mo:
        subprocess.run(["msgfmt", "--check", "-o", mo.name, po], check=True)
        with open(mo.name, "rb") as f:
            return gettext.GNUTranslations(f)._catalog


def main():
    out, po, board = sys.argv[1], sys.argv[2], sys.argv[3]
    inside, pixels = (int(n) for n in board.split("/"))
    with open(os.path.join(po, "LINGUAS"), encoding="utf-8") as f:
        languages = [line.strip() for line in f if line.strip() and not line.startswith("#")]
    sentences = sorted(page_sentences(os.path.join(po, "quorvel.pot")))
    keys = [key(text) for text in sentences]
    if len(set(keys)) != len(keys):
        sys.exit("words.py: two of the page's sentences have one key: change one's words")
    with open(os.path.join(out, "quorvel.webmanifest"), encoding="utf-8") as f:
        manifest = json.load(f)
    tables = {}
    for language in languages:
        tag = language.replace("_", "-")
        said = catalogue(os.path.join(po, language + ".po"))
        # An untranslated sentence stays English: null.
        tables[tag] = [said.get(text) or None for text in sentences]
        translated = dict(manifest, lang=tag, description=said.get(DESCRIPTION, DESCRIPTION))
        with open(os.path.join(out, "quorvel.%s.webmanifest" % tag), "w", encoding="utf-8") as f:
            json.dump(translated, f, ensure_ascii=False, indent=2)
            f.write("\n")
    words = os.path.join(out, "words.js")
    with open(words, encoding="utf-8") as f:
        script = f.read()
    fills = {
        KEYS: json.dumps(keys),
        CATALOGUES: json.dumps(tables, ensure_ascii=False, sort_keys=True),
        BOARD: json.dumps({"inside": inside, "pixels": pixels}),
    }
    for place, text in fills.items():
        if script.count(place) != 1:
            sys.exit("words.py: words.js has no single %s" % place)
        script = script.replace(place, text)
    with open(words, "w", encoding="utf-8") as f:
        f.write(script)


if __name__ == "__main__":
    main()
