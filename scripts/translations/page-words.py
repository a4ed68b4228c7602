#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""Prints, as a catalogue template, the page's own texts in HTML that its
words.js translates: the text of each element marked data-say, or the
attribute the mark names, with its white space folded as words.js folds it.

    scripts/translations/page-words.py FILE.html
"""
import html.parser
import re
import sys


class Words(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.found = []  # (line, text)
        self.open = []  # elements whose text is being gathered: [tag, line, text]

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "data-say" not in attrs:
            return
        line = self.getpos()[0]
        if attrs["data-say"]:
            self.found.append((line, attrs[attrs["data-say"]]))
        else:
            self.open.append([tag, line, ""])

    def handle_data(self, data):
        if self.open:
            self.open[-1][2] += data

    def handle_endtag(self, tag):
        if self.open and self.open[-1][0] == tag:
            _, line, text = self.open.pop()
            self.found.append((line, text))


def quoted(text):
    return '"%s"' % text.replace("\\", "\\\\").replace('"', '\\"')


def main():
    path = sys.argv[1]
    words = Words()
    with open(path, encoding="utf-8") as f:
        words.feed(f.read())
    print('msgid ""\nmsgstr ""\n"Content-Type: text/plain; charset=UTF-8\\n"\n')
    for line, text in words.found:
        print("#: %s:%d\nmsgid %s\nmsgstr \"\"\n" % (path, line, quoted(re.sub(r"\s+", " ", text).strip())))


if __name__ == "__main__":
    main()
