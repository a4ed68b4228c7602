# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""Languages: the page in the browser's language where it has it, else
English, on a phone 320 px wide with the class's panel and the code's dialog
open, every text within its box."""
import re

import pytest

from browsers import Chromium
from conftest import clean, paste, screen, text, wait_for

# Asked, taken, the full-screen control, how the page's text begins, and the
# reading, with the numbers as the language writes them.
LANGUAGES = [
    ("de", "de", "Vollbild", "Quorvel schätzt", r"\d,\d{8}\. Punkte im Kreis: [\d.]+ von [\d.]+\."),
    ("es", "es", "Pantalla completa", "Quorvel estima", r"\d,\d{8}\. Puntos dentro del círculo: [\d.]+ de [\d.]+\."),
    ("fr", "fr", "Plein écran", "Quorvel estime", r"\d,\d{8}\. Points dans le cercle\xa0: [\d\u202f]+ sur [\d\u202f]+"),
    ("it", "it", "Schermo intero", "Quorvel stima", r"\d,\d{8}\. Punti dentro il cerchio: [\d.]+ su [\d.]+\."),
    ("nl", "nl", "Volledig scherm", "Quorvel schat", r"\d,\d{8}\. Punten binnen de cirkel: [\d.]+ van [\d.]+\."),
    ("pl", "pl", "Pełny ekran", "Quorvel przybliża", r"\d,\d{8}\. Punkty w kole: [\d\xa0]+ na [\d\xa0]+\."),
    ("pt-BR", "pt-BR", "Tela cheia", "O Quorvel estima", r"\d,\d{8}\. Pontos dentro do círculo: [\d.]+ de [\d.]+\."),
    ("ja", "en", "Full screen", "Quorvel estimates", r"\d\.\d{8}\. Samples inside the circle: [\d,]+ of [\d,]+\."),
]
# Where each text the chart draws lies, as the canvas's own measure has it.
DRAWN = """window.drawn = []; const fill = CanvasRenderingContext2D.prototype.fillText;
CanvasRenderingContext2D.prototype.fillText = function (text, x, y) {
  const m = this.measureText(text);
  if (this.canvas.id === "chart")
    drawn.push([text, x - m.actualBoundingBoxLeft, x + m.actualBoundingBoxRight, y - m.actualBoundingBoxAscent,
                y + m.actualBoundingBoxDescent, this.canvas.width, this.canvas.height]);
  return fill.apply(this, arguments); };"""
# Runs of the class, one of them no run, so that the chart, its key and the
# panel show every kind of line.
ENTRIES = "7853/10000, 31400/40000; 2000/2500\n1/0 785/1000"
# What is shown and wider than its box, or than the screen.
OVER = """const room = document.documentElement.clientWidth, over = [];
if (document.documentElement.scrollWidth > room) over.push("the page scrolls sideways");
for (const e of document.querySelectorAll("button, label, h2, p, li, textarea, canvas"))
  if (e.getClientRects().length && !e.closest(".unseen")) {
    const box = e.getBoundingClientRect();
    if (e.scrollWidth > e.clientWidth + 1 || box.left < 0 || box.right > room + 0.5)
      over.push([e.id || e.textContent.slice(0, 40), box.left, box.right, e.scrollWidth, e.clientWidth]);
  }
return over;"""


@pytest.mark.parametrize("asked,shown,control,about,words", LANGUAGES, ids=[asked for asked, *_ in LANGUAGES])
def test_page_in_the_browsers_language(serve, request, asked, shown, control, about, words):
    browser = Chromium("--lang=" + asked, "--accept-lang=" + asked)
    try:
        browser.preload(DRAWN)
        screen(browser, 320, 640, True)
        paste(browser, serve().url, ENTRIES)
        wait_for(lambda: re.search(r"\d", text(browser, "reading")), 5)
        found = [browser.run("return document.documentElement.lang")] + [
            text(browser, element) for element in ("fullscreen", "about", "reading")]
        browser.run("""document.getElementById("share").click();
            window.drawn = [];""")
        # A drawing with the class's runs on it: their key comes after the axes.
        keyed = "return drawn.some(([text]) => text === quorvel.say('the class together'))"
        found.append(wait_for(lambda: browser.run(keyed), 3))
        drawn, over = browser.run("return drawn"), browser.run(OVER)
        clean(browser, request.node)
    finally:
        browser.quit()
    assert found[:2] == [shown, control] and found[2].startswith(about) and re.search(words, found[3]), found
    assert found[4], "the chart drew no key for the class's runs"
    cut = [d for d in drawn if d[1] < 0 or d[2] > d[5] or d[3] < 0 or d[4] > d[6]]
    assert len(drawn) > 10 and not cut and not over, (cut, over)
