#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""Prints, as a catalogue template, the page's own texts in HTML that its
words.js translates: the text of each element marked data-say, or the
attribute the mark names, with its white space folded as words.js folds it.
Each comes with a note for translators: a comment that begins TRANSLATORS:
just before its element, what kind of text it is where its element tells
(a button's label must be short), and what each figure words.js writes into
the page's text holds.

    scripts/translations/page-words.py FILE.html
"""
import html.parser
import re
import sys

NOTE = "TRANSLATORS:"
# Where a text shows, by its element, or by the attribute it is.
KINDS = {
    "button": "A button's label: a few short words, as a phone's screen is 320 px wide.",
    "h2": "A heading.",
    "label": "The label over a text field.",
    "title": "The page's title, in the browser's tab.",
    "aria-label": "Not shown: what a screen reader calls this part of the page.",
    "content": "The page's description, for search engines and shared links.",
    "unseen": "Not shown: what a screen reader reads.",
}
# The board's figures, which words.js writes into the page's text.
FIGURES = {
    "inside": "{inside} is the number of the board's pixels inside the circle (125,676, in your language's digits).",
    "pixels": "{pixels} is the number of all the board's pixels (160,000).",
    "settles": "{settles} is where the estimate settles, four times their share (3.1419).",
}


class Words(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.found = []  # (line, text, notes)
        self.open = []  # elements whose text is being gathered: [tag, line, text, notes]
        self.note = None  # a translators' comment, for the next element

    def handle_comment(self, data):
        text = " ".join(data.split())
        self.note = text[len(NOTE):].strip() if text.startswith(NOTE) else None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        note, self.note = self.note, None
        if "data-say" not in attrs:
            return
        line = self.getpos()[0]
        said = attrs["data-say"]
        kind = said or ("unseen" if "unseen" in attrs.get("class", "").split() else tag)
        notes = [n for n in (note, KINDS.get(kind)) if n]
        if said:
            self.found.append((line, attrs[said], notes))
        else:
            self.open.append([tag, line, "", notes])

    def handle_data(self, data):
        if self.open:
            self.open[-1][2] += data
        elif data.strip():
            self.note = None

    def handle_endtag(self, tag):
        if self.open and self.open[-1][0] == tag:
            _, line, text, notes = self.open.pop()
            self.found.append((line, text, notes))


def quoted(text):
    return '"%s"' % text.replace("\\", "\\\\").replace('"', '\\"')


def main():
    path = sys.argv[1]
    words = Words()
    with open(path, encoding="utf-8") as f:
        words.feed(f.read())
    print('msgid ""\nmsgstr ""\n"Content-Type: text/plain; charset=UTF-8\\n"\n')
    # A text said in two places (a button and the heading of what it opens) is one entry.
    merged = {}
    for line, text, notes in words.found:
        text = re.sub(r"\s+", " ", text).strip()
        lines, known = merged.setdefault(text, ([], []))
        lines.append(line)
        known += [n for n in notes + [FIGURES[name] for name in re.findall(r"\{(\w+)\}", text)] if n not in known]
    for text, (lines, notes) in merged.items():
        comments = "".join("#. %s\n" % n for n in notes)
        places = " ".join("%s:%d" % (path, line) for line in lines)
        print("%s#: %s\nmsgid %s\nmsgstr \"\"\n" % (comments, places, quoted(text)))


if __name__ == "__main__":
    main()
