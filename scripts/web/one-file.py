#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""Writes DIR/quorvel.html, the whole page in one file, from the page's
files in DIR: its style, its scripts, the code library, the program with
its WebAssembly inside, and its icon, so that it runs from a disk, a course
site's file area or an email, and asks for nothing, ever.  Its Content
Security Policy lets in only what it holds: each script and the style by
its hash, WebAssembly, and the icon.

    scripts/web/one-file.py DIR
"""
import base64
import hashlib
import re
import sys

# Run in this order at the end of the page: the page's own scripts, as
# index.html names them, then the library and the program.
AFTER_PAGE = ["qrcode.js", "quorvel-wasm.js", "quorvel.js"]


def read(folder, name):
    with open("%s/%s" % (folder, name), encoding="utf-8") as f:
        return f.read()


def digest(text):
    return "'sha256-%s'" % base64.b64encode(hashlib.sha256(text.encode()).digest()).decode()


def inline(tag, text):
    if re.search(r"</%s" % tag, text, re.IGNORECASE):
        sys.exit("one-file.py: a %s would end early: it holds </%s" % (tag, tag))
    return "<%s>%s</%s>" % (tag, text, tag)


def main():
    folder = sys.argv[1]
    page = read(folder, "index.html")
    own = re.findall(r'<script src="([^"]+)" defer></script>\n', page)
    page = re.sub(r'<script src="[^"]+" defer></script>\n', "", page)
    scripts = [read(folder, name) for name in own + AFTER_PAGE]
    style = read(folder, "page.css")
    icon = base64.b64encode(read(folder, "quorvel.svg").encode()).decode()

    policy = ("default-src 'none'; script-src %s 'wasm-unsafe-eval'; style-src %s; img-src data:; "
              "base-uri 'none'; form-action 'none'" % (" ".join(map(digest, scripts)), digest(style)))
    swaps = [
        (r'<html lang="en">', '<html lang="en" data-page="one-file">'),
        (r'content="default-src[^"]*"', 'content="%s"' % policy),
        (r'<link rel="icon" href="quorvel.svg"', '<link rel="icon" href="data:image/svg+xml;base64,%s"' % icon),
        (r'<link rel="stylesheet" href="page.css">', inline("style", style)),
        (r'</body>', "\n".join(inline("script", s) for s in scripts) + "\n</body>"),
    ]
    for pattern, replacement in swaps:
        page, found = re.subn(pattern, lambda _: replacement, page)
        if found != 1:
            sys.exit("one-file.py: index.html has no single %s" % pattern)
    with open("%s/quorvel.html" % folder, "w", encoding="utf-8") as f:
        f.write(page)


if __name__ == "__main__":
    main()
