# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""The class's runs in Chromium, the page from QUORVEL_WEB_DIR: pasted, pooled against the band, bad entries named,
kept across a reload, downloaded, and 200 left for minutes (its pace printed, not held against a busy machine)."""
import csv
import math
import os
import random
import re
import threading
import time
from http.server import SimpleHTTPRequestHandler, ThreadingHTTPServer

import pytest
from selenium import webdriver
from selenium.webdriver.chrome.service import Service

WEB = os.path.abspath(os.environ.get("QUORVEL_WEB_DIR", os.path.join(os.path.dirname(__file__), "../../build-web")))
SHARE = 125676 / 160000  # the board's pixels inside the circle
CENTRE, TWO_ERRORS = 4 * SHARE, 8 * math.sqrt(SHARE * (1 - SHARE))
SAID = re.compile(r"(?:(\d[\d,]*) runs of the class: (\d[\d,]*) of them within .*?)?Together, (\d[\d,]*) samples "
                  r"give (\d\.(\d+)), (\d\.\d+) (below|above) \u03c0; at that count the band is \u00b1(\d\.\d+)\.")
MEMORY_SETTLES_S, MEMORY_SOAK_S, MEMORY_GROWTH_KIB = 20, 160, 256
Quiet = type("Quiet", (SimpleHTTPRequestHandler,), {"log_message": lambda *_: None})


@pytest.fixture(scope="module")
def places():
    server = ThreadingHTTPServer(("127.0.0.1", 0), lambda *given: Quiet(*given, directory=WEB))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return {"served": "http://127.0.0.1:%d/" % server.server_address[1], "from disk": "file://%s/index.html" % WEB,
            "one file": "file://%s/quorvel.html" % WEB}


@pytest.fixture
def page(tmp_path):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ["--headless=new", "--no-sandbox", "--disable-gpu", "--user-data-dir=%s" % (tmp_path / "profile")]:
        options.add_argument(flag)
    options.add_experimental_option("prefs", {"download.default_directory": str(tmp_path)})
    with webdriver.Chrome(options=options, service=Service("/usr/bin/chromedriver")) as driver:
        driver.downloads = tmp_path
        yield driver


def until(condition, seconds=5):
    end = time.time() + seconds
    while not condition() and time.time() < end:
        time.sleep(0.1)
    return condition()


def paste(driver, url, text):
    """Opens the panel at url and puts text in the field as a paste does; gives back the panel's words."""
    driver.get(url)
    driver.find_element("id", "class-results").click()
    return driver.execute_script("""const field = document.getElementById("class-entries");
        field.value = arguments[0];
        field.dispatchEvent(new InputEvent("input", {inputType: "insertFromPaste", bubbles: true}));
        return document.getElementById("class-summary").textContent;""", text)


def tallies(count, seed):
    """Runs, some beyond the band, none on its edge, written with every separator a teacher may type."""
    rng, runs = random.Random(seed), []
    while len(runs) < count:
        total = rng.choice([1000, 4000, 10000, 25000, 100000])
        inside = round(total * SHARE + rng.gauss(0, 1.3) * math.sqrt(total * SHARE * (1 - SHARE)))
        if abs(abs(4 * inside / total - CENTRE) - TWO_ERRORS / math.sqrt(total)) > 1e-9:
            runs.append((inside, total))
    return runs, "".join(("%d / %d" if i % 7 == 3 else "%d/%d") % r + ("\n", " ", ", ", ";", "\r\n", " ;\t")[i % 6]
                         for i, r in enumerate(runs))


def agrees(text, runs):
    """Whether text says what the runs give, pooled and counted here."""
    said = SAID.search(text)
    inside, total = sum(i for i, _ in runs), sum(t for _, t in runs)
    within = sum(abs(4 * i / t - CENTRE) <= TWO_ERRORS / math.sqrt(t) for i, t in runs)
    estimate, unit = 4 * inside / total, 10 ** -len(said[5])
    return (said[1] in (None, str(len(runs))) and said[2] in (None, str(within)) and said[3].replace(",", "") ==
            str(total) and abs(float(said[4]) - estimate) <= unit / 2 + 1e-12 and (said[7] == "below") ==
            (estimate < math.pi) and abs(float(said[8]) - TWO_ERRORS / math.sqrt(total)) <= unit / 2 + 1e-12)


def test_thirty_pasted_are_pooled(page, places):
    runs, text = tallies(30, 1)
    summary = paste(page, places["served"], text)
    assert agrees(summary, runs), summary
    assert until(lambda: summary in page.find_element("id", "chart-reading").get_attribute("textContent"))


def test_bad_entries_are_named_and_good_ones_kept(page, places):
    bad = [("78/", "not two whole numbers"), ("7.5/10", "not two whole"), ("x", "not two whole"),
           ("11/10", "more inside than in total"), ("0/0", "a total of 0"), ("000/2", "starting with 0"),
           ("1/%d" % 2**64, "more than Quorvel's tally can count, 18,446,744,073,709,551,615")]
    good = [(7853, 10000), (7853, 10000), (0, 1), (2**64 - 1, 2**64 - 1)]
    text = "\n".join(["%d/%d" % good[0], bad[0][0], "%d/%d" % good[1]] + [b for b, _ in bad[1:]] +
                     ["%d/%d" % g for g in good[2:]] + ["  "])
    paste(page, places["served"], text)
    typing, field, named, summary = page.execute_script("""const field = document.getElementById("class-entries");
        field.focus();
        field.value += "7853/1";
        field.dispatchEvent(new InputEvent("input", {inputType: "insertText", bubbles: true}));
        const typing = document.querySelectorAll("#class-problems li").length;
        field.blur();
        const named = document.getElementById(field.getAttribute("aria-describedby")).querySelectorAll("li");
        return [typing, [field.value, field.getAttribute("aria-invalid")], [...named].map((li) => li.textContent),
                document.getElementById("class-summary").textContent];""")
    assert field == [text + "7853/1", "true"] and typing == len(bad) and len(named) == len(bad) + 1
    for (entry, why), place, line in zip(bad + [("7853/1", "more inside")], [2, 4, 5, 6, 7, 8, 9, 12], named):
        assert line.startswith("Entry %d, \u201c%s\u201d" % (place, entry)) and why in line, line
    assert agrees(summary, good), summary


@pytest.mark.parametrize("where", ["served", "from disk", "one file"])
def test_entries_survive_a_reload(page, places, where):
    _, text = tallies(5, 2)
    before = paste(page, places[where], text)
    page.refresh()
    page.execute_script("window.quorvel.chartRestart()")
    # A text field keeps a line break as \n, whatever was pasted.
    assert page.execute_script("return document.getElementById('class-entries').value") == text.replace("\r\n", "\n")
    assert until(lambda: page.find_element("id", "chart-reading").get_attribute("textContent").endswith(before))


@pytest.mark.parametrize("where", ["served", "from disk", "one file"])
def test_download_agrees_with_the_words(page, places, where):
    runs, text = tallies(12, 3)
    paste(page, places[where], text)
    until(lambda: page.execute_script("return window.quorvel.chartKept().length > 50"), seconds=10)
    page.find_element("id", "class-download").click()
    name = page.downloads / time.strftime("quorvel-%Y-%m-%d.csv")
    until(name.exists, seconds=10)
    words, data = page.execute_script("return document.getElementById('chart-reading').textContent"), name.read_bytes()
    assert data.startswith(b"\xef\xbb\xbf") and data.endswith(b"\r\n") and data.count(b"\n") == data.count(b"\r\n")
    head, *rows = list(csv.reader(data.decode("utf-8-sig").splitlines()))
    assert head == ["run", "samples", "inside", "estimate", "band's low edge", "band's high edge",
                    "within the band (1 yes, 0 no)"]
    path, theirs, together = rows[:-len(runs) - 1], rows[-len(runs) - 1:-1], rows[-1]
    assert [r[0] for r in rows] == ["this run"] * len(path) + ["a run of the class"] * len(runs) + [
        "the class together"]
    for _, samples, inside, estimate, low, high, within in rows:
        n, e, half = int(samples), float(estimate), TWO_ERRORS / math.sqrt(int(samples))
        assert (abs(e - 4 * int(inside) / n) <= 5.1e-9 and abs(float(low) - CENTRE + half) < 1e-9 and  # 8 decimals
                abs(float(high) - CENTRE - half) < 1e-9 and within == str(int(abs(e - CENTRE) <= half)))
    assert len(path) > 50 and [int(r[1]) for r in path] == sorted({int(r[1]) for r in path})
    assert [(int(r[2]), int(r[1])) for r in theirs] == runs and agrees(words, runs), words
    assert together[1:3] == [str(sum(t for _, t in runs)), str(sum(i for i, _ in runs))]


def test_two_hundred_entries_keep_memory_flat_and_the_pace(page, places):
    paste(page, places["served"], tallies(200, 4)[1])
    heaps, counts = [], []
    for wait in (MEMORY_SETTLES_S, MEMORY_SOAK_S):
        time.sleep(wait)
        page.execute_cdp_cmd("HeapProfiler.collectGarbage", {})
        heaps.append(page.execute_cdp_cmd("Runtime.getHeapUsage", {})["usedSize"] / 1024)
        counts.append((time.time(), page.execute_script("return window.quorvel.chartKept().at(-1)[0]")))
    pace = (counts[1][1] - counts[0][1]) / (counts[1][0] - counts[0][0])
    print("200 entries over %d s: heap %.0f KiB, then %.0f KiB; %.1f samples a second" % (MEMORY_SOAK_S, *heaps, pace))
    assert heaps[1] - heaps[0] <= MEMORY_GROWTH_KIB
