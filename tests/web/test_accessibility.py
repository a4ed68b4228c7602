# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""Accessibility and audit: what a screen reader gets of the picture and its
strip, read when asked and never announced; axe-core's audit in every state
a class meets; and Lighthouse's scores (make audit-web), of which
performance, which a slow machine lowers, is reported."""
import filecmp
import json
import os
import pathlib
import re
import shutil
import subprocess

import pytest
from selenium.webdriver.common.keys import Keys

from browsers import CHROMIUM, HEADLESS, Chromium
from conftest import figure, paste, screen, wait_for
from test_controls import full_screen
from test_languages import ENTRIES

STRIP = r"(\d\.\d{8})\D+([\d,]+) of ([\d,]+)\."
# Lighthouse and axe-core as pinned there: later Lighthouses want a newer Node than Debian's.
PINNED = os.path.join(os.path.dirname(__file__), "../../scripts/web/%s")
# axe-core's rules for WCAG 2.0, 2.1 and 2.2, A and AA, and its best practices.
RULES = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "wcag22aa", "best-practice"]
AUDIT = """return axe.run(document, {runOnly: {type: "tag", values: arguments[0]}, resultTypes: ["violations"]})
    .then((found) => found.violations.map((v) => [v.id, v.nodes.map((n) => n.target.join(" "))]));"""
# Each state a class meets, as a teacher or a pupil gets there; sound on, the table open
# and the chart read point by point in the last two.
STATES = {
    "running": lambda page: None,
    "paused": lambda page: page.click("pause"),
    "the class's panel with bad entries": lambda page: paste(page, page.current_url, ENTRIES),
    "the QR dialog": lambda page: page.click("share"),
    "full screen": full_screen,
    "320 px": lambda page: screen(page, 320, 640, True) or heard_and_read(page),
    "German": lambda page: heard_and_read(page) or page.find_element("id", "chart-points").send_keys(Keys.END),
}


def heard_and_read(page):
    for control in ("sound", "points-title"):
        page.click(control)


def test_picture_is_a_named_image(chromium, serve):
    """As Chromium's accessibility tree has it."""
    chromium.get(serve().url)
    role, name, _ = chromium.described("#canvas")
    assert role == "image" and "Quorvel" in name, (role, name)


def test_screen_reader_reads_the_strip(page):
    """Its estimate to eight places, 4 x inside / total, as the tally grows."""
    heard = lambda: re.search(STRIP, page.described("#canvas")[2])
    first = wait_for(heard, 5)
    assert first, page.described("#canvas")
    later = wait_for(lambda: (f := heard()) and int(f[3].replace(",", "")) > int(first[3].replace(",", "")) and f, 3)
    for found in (first, later):
        assert found, page.described("#canvas")
        inside, taken = (int(n.replace(",", "")) for n in found.groups()[1:])
        assert found[1] == "%.8f" % (4 * inside / taken), found[0]


def test_nothing_announces_itself(page):
    assert page.run("return document.querySelectorAll('[aria-live], [role=status], [role=log]').length") == 0


def installed(request, option, pinned):
    """What pinned names from npm, installed in option's folder, anew where the pin has moved."""
    pinned, work, lock = PINNED % pinned, os.path.abspath(request.config.getoption(option)), "/package-lock.json"
    if not (os.path.exists(work + lock) and filecmp.cmp(pinned + lock, work + lock, shallow=False)):
        shutil.copytree(pinned, work, dirs_exist_ok=True)
        shutil.which("npm") or subprocess.run([pinned + "/../../deps.sh", "npm"], check=True)
        subprocess.run(["npm", "ci", "--no-audit", "--no-fund", "--loglevel=error"], cwd=work, check=True)
    return work


@pytest.fixture(scope="module")
def lighthouse(request):
    return installed(request, "--audit", "audit")


@pytest.fixture(scope="module")
def axe(request):
    return pathlib.Path(installed(request, "--axe", "axe"), "node_modules/axe-core/axe.min.js").read_text()


@pytest.mark.parametrize("state", STATES)
def test_axe_finds_nothing(chromium, serve, axe, state):
    """In Chromium, German in one of its own."""
    page = Chromium("--lang=de", "--accept-lang=de") if state == "German" else chromium
    try:
        page.get(serve().url)
        assert wait_for(lambda: page.run("return document.getElementById('chart-reading').textContent.match(/\\d/)"), 5)
        STATES[state](page)
        found = page.run(axe + "\n" + AUDIT, RULES)
    finally:
        page is chromium or page.quit()
    assert found == [], found


@pytest.mark.audit
@pytest.mark.parametrize("preset", ["mobile", "desktop"])
def test_lighthouse_scores(lighthouse, serve, preset):
    report = "%s/%s.json" % (lighthouse, preset)
    # Mobile is Lighthouse's default, and has no preset of its own.
    subprocess.run(["node", lighthouse + "/node_modules/lighthouse/cli/index.js", serve().url, "--quiet",
                    "--chrome-flags=" + " ".join(CHROMIUM + HEADLESS), "--output=json", "--output-path=" + report,
                    "--only-categories=performance,accessibility,best-practices,seo"]
                   + ([] if preset == "mobile" else ["--preset=" + preset]),
                   env=dict(os.environ, CHROME_PATH="/usr/bin/chromium"), check=True)
    with open(report) as f:
        found = json.load(f)
    scores = {name: round(category["score"] * 100) for name, category in found["categories"].items()}
    figure("%s: %s; page weight %d KiB (performance's goal 95: %s)" % (
        preset, scores, found["audits"]["total-byte-weight"]["numericValue"] / 1024,
        "met" if scores["performance"] >= 95 else "MISSED"))
    assert [scores["accessibility"], scores["best-practices"], scores["seo"]] == [100] * 3, scores
