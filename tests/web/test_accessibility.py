# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""Accessibility and audit: what a screen reader gets of the picture and its
strip, read when asked and never announced; and Lighthouse's scores (make
audit-web), of which performance, which a slow machine lowers, is reported."""
import filecmp
import json
import os
import re
import shutil
import subprocess

import pytest

from browsers import CHROMIUM, HEADLESS
from conftest import figure, wait_for

STRIP = r"(\d\.\d{8})\D+([\d,]+) of ([\d,]+)\."
# Lighthouse as pinned there: later versions want a newer Node than Debian's.
PINNED = os.path.join(os.path.dirname(__file__), "../../scripts/web/audit")


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


@pytest.fixture(scope="module")
def lighthouse(request):
    """Lighthouse installed in --audit's folder, anew where the pin has moved."""
    work, lock = os.path.abspath(request.config.getoption("--audit")), "/package-lock.json"
    if not (os.path.exists(work + lock) and filecmp.cmp(PINNED + lock, work + lock, shallow=False)):
        shutil.copytree(PINNED, work, dirs_exist_ok=True)
        shutil.which("npm") or subprocess.run([PINNED + "/../../deps.sh", "npm"], check=True)
        subprocess.run(["npm", "ci", "--no-audit", "--no-fund", "--loglevel=error"], cwd=work, check=True)
    return work


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
