# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""What the page's checks stand on: the page's folder (--web), served on
127.0.0.1 or opened from disk; one browser of each kind for the whole run,
back on a blank page after every check (WebKit's window needs an X server);
a clean console after every check in every browser, but for an error a
check provokes on purpose and names with its provokes mark; the desktop's
end-to-end checks (--e2e) against the page in a browser's window; and the
figures measured, printed after the run."""
import contextlib
import functools
import glob
import http.server
import io
import os
import pathlib
import re
import shutil
import subprocess
import tempfile
import threading

import pytest

import browsers
from browsers import wait_for

# Follows the tally, estimate and trail the program hands to the page: from its first
# picture on where the browser runs this ahead of the page's scripts.
FOLLOW = """const follow = (module) => { const take = module.quorvelStrip;
  module.quorvelStrip = (estimate, tally, landed) => {
  window.firstPicture = window.firstPicture || performance.now(); window.tally = tally; window.estimate = estimate;
  window.landed = landed; take(estimate, tally, landed); };
  return module; };
if (window.Module) follow(window.Module);
else Object.defineProperty(window, "Module", {configurable: true, set(module) {
  Object.defineProperty(window, "Module", {value: follow(module), writable: true, configurable: true}); }});"""
# What the page's sound sends out, taken as it leaves for the speakers: each block of it
# that is not silence as [its time, the left's and the right's energy, its peak, the
# times its middle crossed zero, its samples not near zero, the sample rate].
HEAR = """const Heard = window.AudioContext;
if (Heard) window.AudioContext = class extends Heard { constructor(...args) {
  super(...args); const tap = this.createScriptProcessor(2048, 2, 2), into = this.createGain();
  window.heard = []; window.hearing = this;
  tap.onaudioprocess = (e) => { const [l, r] = [0, 1].map((c) => e.inputBuffer.getChannelData(c));
    let [left, right, peak, crossed, active, last] = [0, 0, 0, 0, 0, 0];
    for (let i = 0; i < l.length; i++) {
      const m = l[i] + r[i]; left += l[i] * l[i]; right += r[i] * r[i];
      peak = Math.max(peak, Math.abs(l[i]), Math.abs(r[i]));
      if (Math.abs(m) > 1e-4) { active++; crossed += last * m < 0; last = m; } }
    [0, 1].forEach((c) => e.outputBuffer.getChannelData(c).set([l, r][c]));
    if (peak > 1e-4) heard.push([e.playbackTime, left, right, peak, crossed, active, this.sampleRate]); };
  into.connect(tap).connect(super.destination);
  Object.defineProperty(this, "destination", {value: into}); } };"""
BROWSERS = {"chromium": browsers.Chromium, "firefox": browsers.Firefox, "webkit": browsers.WebKit}
# Where the desktop's end-to-end checks see the page: served in every
# browser, and from disk, the page and the one file.
SEEN = [("chromium", "served"), ("firefox", "served"), ("webkit", "served"), ("chromium", "index.html"),
        ("firefox", "index.html"), ("firefox", "quorvel.html"), ("webkit", "quorvel.html")]
FIGURES = []
figure = FIGURES.append


def pytest_addoption(parser):
    parser.addoption("--web", default="build-web", help="the page's folder, as make web builds it")
    parser.addoption("--e2e", default="build/tests/e2e_tests", help="the desktop's end-to-end checks")
    parser.addoption("--audit", default="build-web-audit", help="where Lighthouse is installed")
    parser.addoption("--axe", default="build-web-axe", help="where axe-core is installed")


def pytest_terminal_summary(terminalreporter):
    if FIGURES:
        terminalreporter.write_sep("=", "figures measured")
        terminalreporter.write_line("\n".join(FIGURES))


def total(browser):
    return int(browser.run("return window.tally").split("/")[1])


def heard(browser, since=0):
    """The blocks of sound the page sent out from the context's time since on."""
    return browser.run("return (window.heard || []).filter(([t]) => t >= arguments[0])", since)


def hearing(browser):
    """The page's sound's time now."""
    return browser.run("return window.hearing ? window.hearing.currentTime : 0")


def pitch(blocks):
    """A tone's frequency, from how often it crosses zero where it is loud: not in the tail of one before it."""
    loud = [b for b in blocks if b[3] >= max(b[3] for b in blocks) / 4]
    active = sum(b[5] for b in loud)
    return sum(b[4] for b in loud) * loud[0][6] / (2 * active) if active else 0


def text(browser, element):
    return browser.run("return document.getElementById(arguments[0]).textContent", element)


def reading(browser):
    """The tally as a screen reader gets it, in every browser and frame."""
    found = re.search(r"circle: [\d,]+ of ([\d,]+)\.", text(browser, "reading"))
    return int(found[1].replace(",", "")) if found else 0


def paste(browser, url, entries):
    """Opens the class's panel at url (None: the page open) and puts entries in its field as a paste does; gives
    back the panel's words."""
    if url:
        browser.get(url)
        browser.click("class-results")
    return browser.run("""const field = document.getElementById("class-entries");
        field.value = arguments[0];
        field.dispatchEvent(new InputEvent("input", {inputType: "insertFromPaste", bubbles: true}));
        return document.getElementById("class-summary").textContent;""", entries)


def runs(browser, url):
    browser.get(url)
    before = wait_for(lambda: reading(browser), 5)
    return bool(before and wait_for(lambda: reading(browser) > before, 3))


def screen(chromium, width, height, touch):
    chromium.cdp("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=2, mobile=touch)
    chromium.cdp("Emulation.setTouchEmulationEnabled", enabled=touch, maxTouchPoints=5)


@pytest.fixture(scope="session")
def folder(request):
    return os.path.abspath(request.config.getoption("--web"))


def running_in(folder):
    for cmdline in glob.glob("/proc/[0-9]*/cmdline"):
        with contextlib.suppress(OSError), open(cmdline, "rb") as f:
            if folder.encode() in f.read():
                return True
    return False


@pytest.fixture(scope="session", autouse=True)
def launched():
    """The browsers launched for the whole run; every browser's profile in a
    folder of the run's own, removed once the browsers, which write their
    profiles as they close, have closed."""
    tempfile.tempdir = os.environ["TMPDIR"] = tempfile.mkdtemp(prefix="quorvel-web-")
    found = {}
    yield found
    for browser in found.values():
        browser.quit()
    wait_for(lambda: not running_in(tempfile.tempdir), 30)
    shutil.rmtree(tempfile.tempdir, ignore_errors=True)


class Server(http.server.ThreadingHTTPServer):
    def __init__(self, folder):
        self.asked, self.sent, self.folder = set(), 0, folder
        super().__init__(("127.0.0.1", 0), functools.partial(Handler, directory=folder))
        threading.Thread(target=self.serve_forever, daemon=True).start()
        self.url = "http://127.0.0.1:%d/" % self.server_address[1]

    def stop(self):
        self.shutdown()
        self.server_close()


class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        self.server.asked.add(self.path)

    def send_head(self):
        """A page, for WebKit, watched from its load on."""
        page = pathlib.Path(self.translate_path(self.path))
        page = page / "index.html" if page.is_dir() else page
        agent = self.headers.get("User-Agent", "")
        if page.suffix != ".html" or not page.is_file() or "Chrome" in agent or "Firefox" in agent:
            return super().send_head()
        body = browsers.watched(page.read_text(encoding="utf-8")).encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        return io.BytesIO(body)

    def copyfile(self, source, outputfile):
        data = source.read()
        self.server.sent += len(data)
        outputfile.write(data)


@pytest.fixture
def serve(folder):
    """Serves a folder, the page's unless named, for one check, after which
    the page's own files must be all that was asked of the page's server
    (with robots.txt, which an audit asks for, as crawlers do)."""
    servers = []
    yield lambda where=folder: servers.append(Server(where)) or servers[-1]
    for server in servers:
        server.stop()
    own = {"/", "/robots.txt"} | {"/" + name for name in os.listdir(folder)}
    assert set().union(*(s.asked for s in servers if s.folder == folder)) <= own, "asked for more than its own files"


def clean(browser, check):
    """The console's errors and unhandled rejections since it was last read: none, unless the check provokes one."""
    errors = browser.errors()
    assert check.get_closest_marker("provokes") or not errors, "the console: %s" % errors


def watched(request, browser):
    """browser, whose console the check must leave clean."""
    request.node.__dict__.setdefault("consoles", []).append(browser)
    return browser


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_call(item):
    """Every browser's console read as the check ends, before its servers stop."""
    outcome = yield
    for browser in item.__dict__.get("consoles", []) if outcome.excinfo is None else []:
        clean(browser, item)


def use(launched, name, request):
    if name not in launched:
        launched[name] = BROWSERS[name]()
        launched[name].preload(FOLLOW)
        launched[name].preload(HEAR)
    yield watched(request, launched[name])
    # What a check kept (sound on, the class's runs) is not the next one's, should its
    # server get the same port, or its page be one from disk too.
    with contextlib.suppress(Exception):
        launched[name].run("localStorage.clear()")
    launched[name].get("about:blank")
    if name == "chromium":
        launched[name].cdp("Emulation.clearDeviceMetricsOverride")
        launched[name].cdp("Emulation.setTouchEmulationEnabled", enabled=False)
    launched[name].errors()


@pytest.fixture(params=list(BROWSERS))
def browser(request, launched):
    yield from use(launched, request.param, request)


@pytest.fixture
def page(browser, serve):
    """The page served, once it has handed over a tally."""
    browser.get(serve().url)
    assert wait_for(lambda: browser.run("return window.tally"), 10)
    return browser


@pytest.fixture
def chromium(launched, request):
    yield from use(launched, "chromium", request)


@pytest.fixture
def fresh(request):
    """A Chromium of its own, for a check that changes the browser itself, with the flags given as its param."""
    browser = browsers.Chromium(*getattr(request, "param", ()))
    yield watched(request, browser)
    browser.quit()


@pytest.fixture(params=SEEN, ids="-".join)
def desktop_check(request, folder, serve):
    """Runs one of the desktop's end-to-end checks against the page in a
    browser's window, on the checks' own Xvfb, wherever the page is seen."""
    name, where = request.param

    def run(check):
        url = serve().url if where == "served" else "file://%s/%s" % (folder, where)
        env = dict(os.environ, QUORVEL_COMMAND="%s %s %s" % (browsers.__file__, name, url), QUORVEL_PICTURE="400x420",
                   QUORVEL_TITLE="Quorvel — Mozilla Firefox" if name == "firefox" else "Quorvel")
        done = subprocess.run([os.path.abspath(request.config.getoption("--e2e")), "--gtest_filter=EndToEnd." + check,
                               "--gtest_brief=1"], env=env, capture_output=True, text=True, timeout=120)
        assert done.returncode == 0 and "[  PASSED  ] 1 test" in done.stdout, done.stdout + done.stderr
    return run
