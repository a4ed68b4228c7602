# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""Languages: the page in the browser's language where it has it, else
English: its lang, its text and controls, and the reading, numbers and all."""
import re

import pytest

from browsers import Chromium
from conftest import wait_for

LANGUAGES = [("de", "de", "Vollbild", "Quorvel schätzt", r"\d,\d{8}\. [\d.]+ von [\d.]+ Proben"),
             ("fr", "fr", "Plein écran", "Quorvel estime", r"\d,\d{8}\. [\d\u202f]+ échantillons sur"),
             ("ja", "en", "Full screen", "Quorvel estimates", r"\d\.\d{8}\. [\d,]+ of [\d,]+ samples")]


@pytest.mark.parametrize("asked,shown,control,about,words", LANGUAGES, ids=[asked for asked, *_ in LANGUAGES])
def test_page_in_the_browsers_language(serve, asked, shown, control, about, words):
    browser = Chromium("--lang=" + asked, "--accept-lang=" + asked)
    try:
        browser.get(serve().url)
        wait_for(lambda: browser.run("return /\\d/.test(document.getElementById('reading').textContent)"), 5)
        found = browser.run("""return [document.documentElement.lang, document.getElementById("fullscreen").textContent,
            document.getElementById("about").textContent, document.getElementById("reading").textContent]""")
    finally:
        browser.quit()
    assert found[:2] == [shown, control] and found[2].startswith(about) and re.search(words, found[3]), found
