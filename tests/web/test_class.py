# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""The class's runs: pasted and pooled against the band in every browser;
in Chromium, each check in a browser of its own, as the entries are kept,
bad entries named, numbers grouped as the page writes them read as one,
kept across a reload, shared by two tabs, and downloaded as the reader's
spreadsheet opens it (200 left for minutes are the memory module's)."""
import csv
import math
import pathlib
import random
import re
import time

import pytest

from conftest import paste, text, wait_for

SHARE = 125676 / 160000  # the board's pixels inside the circle
CENTRE, TWO_ERRORS = 4 * SHARE, 8 * math.sqrt(SHARE * (1 - SHARE))
GERMAN = ["--lang=de", "--accept-lang=de"]
# A paste's runs as the chart gets them ([samples, estimate] each, or None), the entries named, and the
# longest text the page made a BigInt of.
POOLED = """const field = document.getElementById("class-entries"), take = quorvel.chartClass, real = BigInt;
  let given = null, longest = 0;
  quorvel.chartClass = (runs) => { given = runs; take(runs); };
  window.BigInt = (v) => { longest = Math.max(longest, String(v).length); return real(v); };
  field.value = arguments[0];
  field.dispatchEvent(new InputEvent("input", {inputType: "insertFromPaste", bubbles: true}));
  [quorvel.chartClass, window.BigInt] = [take, real];
  return [given && given.runs.map((r) => [r.samples, r.estimate]),
          [...document.querySelectorAll("#class-problems li")].map((li) => li.textContent).join(" "), longest];"""
SAID = re.compile(r"Runs of the class within the band for their number of samples: (?P<within>\d[\d,]*) of "
                  r"(?P<runs>\d[\d,]*), .*? The class together gives (?P<estimate>\d\.(?P<decimals>\d+)), \d\.\d+ "
                  r"(?P<side>below|above) \u03c0\. Samples in all: (?P<total>\d[\d,]*); for that many, the band is "
                  r"\u00b1(?P<half>\d\.\d+)\.")


@pytest.fixture(params=["served", "from disk", "one file"])
def place(request, folder, serve):
    return {"served": serve().url, "from disk": "file://%s/index.html" % folder,
            "one file": "file://%s/quorvel.html" % folder}[request.param]


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


def agrees(words, runs):
    """Whether words say what the runs give, pooled and counted here."""
    said = SAID.search(words)
    inside, total = sum(i for i, _ in runs), sum(t for _, t in runs)
    within = sum(abs(4 * i / t - CENTRE) <= TWO_ERRORS / math.sqrt(t) for i, t in runs)
    estimate, unit = 4 * inside / total, 10 ** -len(said["decimals"])
    return (said["runs"] == str(len(runs)) and said["within"] == str(within) and said["total"].replace(",", "") ==
            str(total) and abs(float(said["estimate"]) - estimate) <= unit / 2 + 1e-12 and (said["side"] == "below") ==
            (estimate < math.pi) and abs(float(said["half"]) - TWO_ERRORS / math.sqrt(total)) <= unit / 2 + 1e-12)


def test_thirty_pasted_are_pooled(browser, serve):
    """In every browser: served anew, so with none of another check's entries kept."""
    runs, entries = tallies(30, 1)
    summary = paste(browser, serve().url, entries)
    assert agrees(summary, runs), summary
    assert wait_for(lambda: summary in text(browser, "chart-reading"), 5)


def test_bad_entries_are_named_and_good_ones_kept(fresh, serve):
    bad = [("78/", "not two whole numbers"), ("7.5/10", "not two whole"), ("x", "not two whole"),
           ("11/10", "more samples inside than in total"), ("0/0", "a total of 0"), ("000/2", "starts with 0"),
           ("1/%d" % 2**64, "larger than Quorvel can count (at most 18,446,744,073,709,551,615)")]
    good = [(7853, 10000), (7853, 10000), (0, 1), (2**64 - 1, 2**64 - 1)]
    entries = "\n".join(["%d/%d" % good[0], bad[0][0], "%d/%d" % good[1]] + [b for b, _ in bad[1:]] +
                        ["%d/%d" % g for g in good[2:]] + ["  "])
    paste(fresh, serve().url, entries)
    typing, field, named, summary = fresh.run("""const field = document.getElementById("class-entries");
        field.focus();
        field.value += "7853/1";
        field.dispatchEvent(new InputEvent("input", {inputType: "insertText", bubbles: true}));
        const typing = document.querySelectorAll("#class-problems li").length;
        field.blur();
        const named = document.getElementById(field.getAttribute("aria-describedby")).querySelectorAll("li");
        return [typing, [field.value, field.getAttribute("aria-invalid")], [...named].map((li) => li.textContent),
                document.getElementById("class-summary").textContent];""")
    assert field == [entries + "7853/1", "true"] and typing == len(bad) and len(named) == len(bad) + 1
    for (entry, why), place, line in zip(bad + [("7853/1", "more samples inside")], [2, 4, 5, 6, 7, 8, 9, 12], named):
        assert line.startswith("Entry %d, \u201c%s\u201d" % (place, entry)) and why in line, line
    assert agrees(summary, good), summary


@pytest.mark.parametrize("fresh, entries, pooled, named", [
    ([], "157,180/200,000", [(157180, 200000)], ""),
    ([], "157 180 / 200 000\n7853/10000", [(157180, 200000), (7853, 10000)], ""),
    ([], "157\u00a0180/200\u00a0000", [(157180, 200000)], ""),
    (GERMAN, "157.180/200.000", [(157180, 200000)], ""),
    ([], "157.180/200.000", None, "not two whole numbers"),
    ([], "8/10 700 800/1 000 000", None, "read as 8/10; 700800/1000000 or as 8/10700; 800/1000000"),
    ([], "157,180/200,00", None, "not two whole numbers"),
    ([], "3,5/10 7853/10000", [(7853, 10000)], "3,5/10"),
    ([], "7" * 10**6 + "/10 7853/10000", [(7853, 10000)], "larger than Quorvel can count"),
], indirect=["fresh"], ids=["commas", "spaces", "no-break spaces", "German points", "a point in English",
                            "two readings", "split", "a decimal comma", "a wall of digits"])
def test_grouped_numbers_are_one_and_no_piece_of_a_split_one_counts(fresh, serve, entries, pooled, named):
    """Digits beyond a 64-bit tally are refused before any arithmetic."""
    fresh.get(serve().url)
    fresh.click("class-results")
    runs, problems, longest = fresh.run(POOLED, entries)
    assert runs == (pooled and [[t, 4 * i / t] for i, t in pooled]) and named in problems and longest <= 20, \
        (runs, problems, longest)


def test_two_tabs_share_one_list_and_the_note_tells_what_is_kept(fresh, serve):
    """Each tab sees the other's entries at once, the last counted once the
    other's keys stop; a change that crosses one made the moment before
    loses neither; a text as long as one refused is not tried again, and the
    note stays until a shorter one is kept."""
    url = serve().url
    paste(fresh, url, "7853/10000")
    fresh.switch_to.new_window("tab")
    paste(fresh, url, "7853/10000\n7800/10000")
    fresh.switch_to.window(fresh.window_handles[0])
    assert wait_for(lambda: fresh.run("return document.getElementById('class-entries').value") ==
                    "7853/10000\n7800/10000", 5)
    crossed, kept, note, held = fresh.run("""const field = document.getElementById("class-entries"), was = field.value;
        const type = (text) => { field.value += text;
          field.dispatchEvent(new InputEvent("input", {inputType: "insertText", bubbles: true})); };
        const take = quorvel.chartClass;
        quorvel.chartClass = (runs) => { window.given = runs; take(runs); };
        field.blur();
        type("\\n111/200");
        dispatchEvent(new StorageEvent("storage", {key: "quorvel: the class's runs", oldValue: was,
                                                   newValue: was + "\\n222/300", storageArea: localStorage}));
        const held = given.runs.length;
        const set = Storage.prototype.setItem, note = () => document.getElementById("class-kept").hidden;
        Storage.prototype.setItem = () => { throw new DOMException("full", "QuotaExceededError"); };
        type(" 1/2");
        const notes = [note()];
        Storage.prototype.setItem = set;
        type(" 1/3");
        notes.push(note());
        field.value = field.value.slice(0, -8);
        type("");
        return [field.value, localStorage.getItem("quorvel: the class's runs"), [...notes, note()], held];""")
    assert crossed == kept == "7853/10000\n7800/10000\n222/300\n111/200" and note == [False, False, True], \
        (crossed, kept, note)
    assert held == 3 and wait_for(lambda: fresh.run("return given.runs.length") == 4, 5), held
    fresh.switch_to.window(fresh.window_handles[1])
    assert wait_for(lambda: fresh.run("return document.getElementById('class-entries').value") == kept, 5)


def test_entries_survive_a_reload(fresh, place):
    _, entries = tallies(5, 2)
    before = paste(fresh, place, entries)
    fresh.refresh()
    fresh.run("window.quorvel.chartRestart()")
    # A text field keeps a line break as \n, whatever was pasted.
    assert fresh.run("return document.getElementById('class-entries').value") == entries.replace("\r\n", "\n")
    assert wait_for(lambda: text(fresh, "chart-reading").endswith(before), 5)


@pytest.mark.parametrize("fresh", [[], GERMAN], indirect=True, ids=["en", "de"])
def test_download_agrees_with_the_chart(fresh, place):
    """As a spreadsheet in the reader's language reads it: commas and points
    in English, semicolons and decimal commas in German."""
    runs, entries = tallies(12, 3)
    paste(fresh, place, entries)
    wait_for(lambda: fresh.run("return window.quorvel.chartKept().length > 50"), 10)
    fresh.click("pause")
    fresh.click("class-download")
    name = pathlib.Path(fresh.downloads, time.strftime("quorvel-%Y-%m-%d.csv"))
    wait_for(name.exists, 10)
    words, data, kept = text(fresh, "chart-reading"), name.read_bytes(), fresh.run("return quorvel.chartKept()")
    english = fresh.run("return document.documentElement.lang") == "en"
    assert data.startswith(b"\xef\xbb\xbf") and data.endswith(b"\r\n") and data.count(b"\n") == data.count(b"\r\n")
    head, *rows = list(csv.reader(data.decode("utf-8-sig").splitlines(), delimiter="," if english else ";"))
    assert len(head) == 7 and (not english or head == ["run", "samples", "inside", "estimate", "band's low edge",
                                                        "band's high edge", "within the band (1 yes, 0 no)"])
    assert english or not [f for r in rows for f in r[1:] if "." in f]
    rows = [[name, int(n), int(inside), *(float(f.replace(",", ".")) for f in r)] for name, n, inside, *r in rows]
    path, theirs, together = rows[:-len(runs) - 1], rows[-len(runs) - 1:-1], rows[-1]
    assert [r[0] for r in rows] == [path[0][0]] * len(path) + [theirs[0][0]] * len(runs) + [together[0]] and \
        len({path[0][0], theirs[0][0], together[0]}) == 3
    for _, n, inside, e, low, high, within in rows:
        half = TWO_ERRORS / math.sqrt(n)
        assert (abs(e - 4 * inside / n) <= 5.1e-9 and abs(low - CENTRE + half) < 1e-9 and  # 8 decimals
                abs(high - CENTRE - half) < 1e-9 and within == int(abs(e - CENTRE) <= half))
    assert len(path) > 50 and [r[1:4] for r in path] == kept
    assert [(r[2], r[1]) for r in theirs] == runs and (not english or agrees(words, runs)), words
    assert together[1:3] == [sum(t for _, t in runs), sum(i for i, _ in runs)]
