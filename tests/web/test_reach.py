# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""Reach: the page served, from disk, and the one file wherever it is put;
installed, and running with its server gone; on a school's network, in a
course page's frame, and the code to scan that takes a class to it."""
import pathlib
import re
import shutil
import subprocess
import tempfile

import pytest

from browsers import Chromium
from conftest import FOLLOW, figure, reading, runs, wait_for, watched

# The whole page, every language and the sound included.
FIRST_VISIT_KIB, ONE_FILE_KIB = 210, 210
# A teacher's laptop on the school's network, and another site's course page.
LAN, COURSE = "teacher-laptop.lan", "course.example"
CODE_TEXT, CODE_SHOWN = ("return document.getElementById('code-text').innerText",
                         "return !document.getElementById('code-picture').hidden")
FETCHED = "return performance.getEntriesByType('resource').map((e) => e.name)"


@pytest.mark.parametrize("where", ["served", "index.html", "quorvel.html", "files/quorvel.html"])
def test_runs_with_a_clean_console(browser, folder, serve, where):
    """From disk, and the one file in a course site's folder, which it asks
    for nothing more (the site, for nothing but the one file)."""
    site = tempfile.mkdtemp()
    shutil.copytree(folder, site + "/files", ignore=lambda _, names: set(names) - {"quorvel.html"})
    course, page = serve(site), serve()
    url = {"served": page.url, "files/quorvel.html": course.url + where}.get(where, "file://%s/%s" % (folder, where))
    ran, errors = runs(browser, url), browser.errors()
    asked = browser.run(FETCHED) if "quorvel.html" in where else []
    if browser.ahead:
        figure("%s in %s: the first picture at %.0f ms" % (where, type(browser).__name__,
                                                          browser.run("return window.firstPicture")))
    assert ran and not errors and not asked and course.asked <= {"/files/quorvel.html"}, (errors, asked, course.asked)


def test_one_file_is_small_and_lets_in_only_itself(folder):
    one = pathlib.Path(folder, "quorvel.html")
    policy = re.search(r'Content-Security-Policy" content="([^"]*)"', one.read_text(encoding="utf-8"))[1]
    figure("the one file: %.1f KiB" % (one.stat().st_size / 1024))
    assert one.stat().st_size <= ONE_FILE_KIB * 1024 and "default-src 'none'" in policy and \
        not re.search(r"'unsafe-(inline|eval)'|connect-src|'self'", policy), policy


def test_first_visit_installs_and_keeps_the_page_for_offline_use(chromium, serve):
    """On a server of its own, so that nothing is cached yet."""
    first = serve()
    chromium.get(first.url)
    chromium.run("return navigator.serviceWorker.ready.then(() => true)")
    objections = lambda: chromium.cdp("Page.getInstallabilityErrors")["installabilityErrors"]
    found = {"installable": wait_for(lambda: not objections(), 5), "light": first.sent < FIRST_VISIT_KIB * 1024}
    figure("a first visit fetches %.1f KiB in all, kept for offline use too" % (first.sent / 1024))
    first.stop()
    found["runs with the server gone"] = runs(chromium, first.url)
    assert all(found.values()), (found, objections())


@pytest.fixture(scope="module")
def school_browser():
    browser = Chromium("--host-resolver-rules=MAP %s 127.0.0.1, MAP %s 127.0.0.1" % (LAN, COURSE),
                       "--window-size=1920,1080", "--screen-info={1920x1080}")
    browser.preload(FOLLOW)
    yield browser
    browser.quit()


@pytest.fixture
def school(school_browser, request):
    return watched(request, school_browser)


def test_teachers_laptop_over_plain_http(school, serve):
    ran = runs(school, serve().url.replace("127.0.0.1", LAN))
    plain, errors = school.run("return !isSecureContext && !('serviceWorker' in navigator)"), school.errors()
    assert ran and plain and not errors, errors


def test_no_code_but_words_for_an_address_only_this_computer_opens(page):
    page.click("share")
    written = wait_for(lambda: page.run(CODE_TEXT), 5)
    assert not page.run(CODE_SHOWN) and "only on this computer" in written, written


def test_code_to_scan(school, serve):
    """Decoded from a screenshot shrunk to a third, as from the back of a class."""
    url = serve().url.replace("127.0.0.1", LAN)
    school.set_window_size(1280, 800)
    school.get(url)
    school.click("share")
    assert wait_for(lambda: school.run(CODE_SHOWN), 5)
    shot = tempfile.mkdtemp() + "/code.png"
    school.save_screenshot(shot)
    subprocess.run(["convert", shot, "-resize", "33.3%", shot], check=True)
    read = subprocess.run(["zbarimg", "--quiet", "--raw", shot], capture_output=True, text=True).stdout.strip()
    assert read == url and school.run(CODE_TEXT) == url, read


def test_course_pages_frame_and_full_screen_from_it(school, serve):
    """360 px wide in another site's page, and full screen from inside it."""
    site = tempfile.mkdtemp()
    with open(site + "/index.html", "w") as f:
        f.write('<!DOCTYPE html><title>Course</title><link rel="icon" href="data:,"><iframe src="%s" title="Quorvel" '
                'width="360" height="640" allow="fullscreen"></iframe>' % serve().url.replace("127.0.0.1", LAN))
    school.set_window_size(1920, 1080)
    school.get(serve(site).url.replace("127.0.0.1", COURSE))
    school.switch_to.frame(0)
    before = wait_for(lambda: reading(school), 10)
    fits = school.run("""const box = document.getElementById("canvas").getBoundingClientRect();
        const room = document.documentElement.clientWidth;
        return [document.documentElement.scrollWidth <= room && box.left === 0 && box.width === room, box.width];""")
    found = {"runs": wait_for(lambda: reading(school) > before, 3), "fits": fits[0]}
    school.click("fullscreen")
    measure = """const box = document.getElementById("canvas").getBoundingClientRect();
        const chart = document.getElementById("chart").getBoundingClientRect();
        return [box.width, [chart.left - box.right, chart.width, chart.height]];"""
    beside = lambda width, chart: width % 400 == 0 and min(width - 800, chart[0], chart[1] - 1000, chart[2] - 800) >= 0
    found["full screen"] = wait_for(lambda: beside(*school.run(measure)), 5)
    width, chart = school.run(measure)
    figure("full screen from a 360 px frame on a 1920 x 1080 screen: the picture at x %s, the chart %s x %s"
           % (width / 400, chart[1], chart[2]))
    assert all(found.values()), (found, fits, width, chart)
