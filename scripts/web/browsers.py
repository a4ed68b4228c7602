#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""The browsers the page is checked in, each set up here once, with a profile
of its own under TMPDIR and none of the browser's own traffic, so that the
page's files are all it fetches: Chromium and WebKitGTK through Selenium,
Firefox through its built-in WebDriver BiDi (Debian has no geckodriver).  As
a script, it opens the page in a window of its own, for the desktop's
end-to-end checks and make bench:

    scripts/web/browsers.py chromium|firefox|webkit URL
"""
import glob
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

import websocket
from selenium import webdriver
from selenium.webdriver.chrome.service import Service

# Root may run Chromium only without its sandbox; --test-type keeps the
# warning about that off the page.
CHROMIUM = ["--no-first-run", "--no-default-browser-check", "--disable-background-networking",
            "--disable-component-update", "--disable-sync", "--disable-features=Translate",
            "--password-store=basic"] + (["--no-sandbox", "--test-type"] if os.getuid() == 0 else [])
HEADLESS = ["--headless=new", "--disable-gpu"]
# No first-run pages and none of Firefox's updates, telemetry, studies, safe
# browsing, push or portal detection; whatever still tries to leave the
# machine goes to a proxy that is not there.
FIREFOX = dict.fromkeys("""
    browser.shell.checkDefaultBrowser browser.aboutwelcome.enabled datareporting.policy.dataSubmissionEnabled
    datareporting.healthreport.uploadEnabled toolkit.telemetry.enabled app.update.auto app.normandy.enabled
    app.shield.optoutstudies.enabled messaging-system.rsexperimentloader.enabled dom.push.enabled
    browser.safebrowsing.malware.enabled browser.safebrowsing.phishing.enabled browser.search.update
    browser.safebrowsing.downloads.enabled browser.safebrowsing.update.enabled media.eme.enabled
    network.captive-portal-service.enabled network.connectivity-service.enabled extensions.update.enabled
    extensions.systemAddon.update.enabled extensions.getAddons.cache.enabled extensions.blocklist.enabled
    browser.region.update.enabled browser.newtabpage.enabled browser.topsites.contile.enabled
    media.gmp-provider.enabled media.gmp-manager.updateEnabled identity.fxaccounts.enabled network.prefetch-next
    browser.sessionstore.resume_from_crash""".split(), False) | dict.fromkeys("""startup.homepage_welcome_url
    media.gmp-manager.url geo.provider.network.url browser.region.network.url""".split(), "") | {
    "browser.startup.homepage_override.mstone": "ignore", "toolkit.telemetry.server": "data:,",
    "telemetry.fog.test.localhost_port": -1, "services.settings.server": "data:,#remote-settings-dummy/v1",
    "network.dns.disablePrefetch": True, "network.http.speculative-parallel-limit": 0, "network.trr.mode": 5,
    "network.proxy.type": 1, "network.proxy.http": "127.0.0.1", "network.proxy.http_port": 9,
    "network.proxy.ssl": "127.0.0.1", "network.proxy.ssl_port": 9,
    # With no sound card, Firefox's Web Audio waits for one for ever; its stand-in for
    # one lets the page's sound run, so that the checks hear what it sends out.
    "media.cubeb.force_mock_context": True}
# Firefox heeds services.settings.server only with this set.
FIREFOX_ENV = dict(os.environ, MOZ_REMOTE_SETTINGS_DEVTOOLS="1")
# WebKit is the engine of every browser on iPads and iPhones.
MINIBROWSER = (glob.glob("/usr/lib/*/webkit2gtk-4.1/MiniBrowser") + ["MiniBrowser"])[0]
# WebKitGTK's driver hands out no console: a page's errors and unhandled rejections are gathered
# by the page itself, by this script at the top of its head, ahead of its policy and scripts.
WATCH = """if (!window.quorvelErrors) { window.quorvelErrors = [];
  addEventListener("error", (e) => quorvelErrors.push(String(e.message || "failed to load " + e.target.src)), true);
  addEventListener("unhandledrejection", (e) => quorvelErrors.push("unhandled rejection: " + e.reason));
  const error = console.error;
  console.error = (...args) => { quorvelErrors.push(args.join(" ")); error(...args); }; }"""


def watched(html):
    """The page with WATCH at the top of its head."""
    return html.replace("<head>", "<head><script>%s</script>" % WATCH, 1)


def firefox():
    folder = tempfile.mkdtemp(prefix="quorvel-firefox-")
    with open(folder + "/user.js", "w") as f:
        f.writelines("user_pref(%s, %s);\n" % (json.dumps(k), json.dumps(v)) for k, v in FIREFOX.items())
    return ["firefox-esr", "--profile", folder, "--no-remote"], folder + "/WebDriverBiDiServer.json"


def window(name, url):
    """Opens url where its top-left is the window's: Chromium as an app, Firefox as a kiosk, WebKit full screen."""
    if name == "chromium":
        os.execvp("chromium", ["chromium", "--user-data-dir=" + tempfile.mkdtemp(prefix="quorvel-chromium-"),
                               *CHROMIUM, "--window-position=0,0", "--window-size=420,720", "--app=" + url])
    if name == "firefox":
        os.execvpe("firefox-esr", firefox()[0] + ["--kiosk", url], FIREFOX_ENV)
    folder = tempfile.mkdtemp(prefix="quorvel-webkit-")
    os.execve(MINIBROWSER, [MINIBROWSER, "--full-screen", url],
              dict(os.environ, **{"XDG_%s_HOME" % d.upper(): folder + "/" + d for d in ("data", "cache", "config")}))


def wait_for(condition, seconds, every=0.05):
    """condition's first true value within seconds, else its last one."""
    end = time.monotonic() + seconds
    while not (value := condition()) and time.monotonic() < end:
        time.sleep(every)
    return value


class Browser:
    ahead = True  # runs what is preloaded ahead of the page's own scripts

    def run(self, script, *args):
        return self.execute_script(script, *args)

    def click(self, element):
        self.find_element("id", element).click()

    def described(self, selector):
        """What a screen reader is given, from the attributes its tree is built of."""
        return self.run("""const e = document.querySelector(arguments[0]), d = e.getAttribute("aria-describedby");
            return [e.getAttribute("role") === "img" ? "image" : e.getAttribute("role"),
                    e.getAttribute("aria-label"), d ? document.getElementById(d).textContent : ""];""", selector)


class Chromium(Browser, webdriver.Chrome):
    def __init__(self, *flags):
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in CHROMIUM + HEADLESS + list(flags) + ["--user-data-dir=" + tempfile.mkdtemp()]:
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.downloads = tempfile.mkdtemp()
        options.add_experimental_option("prefs", {"download.default_directory": self.downloads})
        super().__init__(options=options, service=Service("/usr/bin/chromedriver"))

    def cdp(self, command, **params):
        return self.execute_cdp_cmd(command, params)

    def preload(self, script):
        self.cdp("Page.addScriptToEvaluateOnNewDocument", source=script)

    def errors(self):
        """The console's errors since last asked."""
        return [e["message"] for e in self.get_log("browser") if e["level"] == "SEVERE"]

    def described(self, selector):
        """As the accessibility tree has it."""
        node = self.cdp("DOM.querySelector", nodeId=self.cdp("DOM.getDocument")["root"]["nodeId"], selector=selector)
        ax = self.cdp("Accessibility.getPartialAXTree", nodeId=node["nodeId"], fetchRelatives=False)["nodes"][0]
        return ax["role"]["value"], ax["name"]["value"], ax.get("description", {}).get("value", "")


class WebKit(Browser, webdriver.WebKitGTK):
    """WebKitGTK's MiniBrowser on the X server in DISPLAY.  Its driver hands
    out no console and runs no script ahead of the page's: a page is watched
    from its load on where WATCH is in it (the checks' server puts it in
    every page it serves WebKit, and a page from disk is opened as a copy
    with it), and what is preloaded runs once it has loaded."""
    ahead = False

    def __init__(self):
        options = webdriver.WebKitGTKOptions()
        options.binary_location = MINIBROWSER
        options.add_argument("--automation")
        super().__init__(options=options)
        self.scripts = [WATCH]

    def preload(self, script):
        self.scripts.append(script)

    def get(self, url):
        if url.startswith("file://"):
            page = pathlib.Path(url[len("file://"):])
            copy = pathlib.Path(shutil.copytree(page.parent, tempfile.mkdtemp() + "/page"), page.name)
            copy.write_text(watched(page.read_text(encoding="utf-8")), encoding="utf-8")
            url = copy.as_uri()
        super().get(url)
        for script in self.scripts:
            self.run(script)

    def errors(self):
        return self.run("const found = window.quorvelErrors || []; window.quorvelErrors = []; return found;")


class Firefox(Browser):
    """Headless, told what to do over its WebDriver BiDi socket: each command
    a message with an id, answered by the message with the same id; the
    console's errors come in between, as events."""

    def __init__(self):
        command, listening = firefox()
        self.process = subprocess.Popen(command + ["--headless", "--remote-debugging-port=0"], env=FIREFOX_ENV,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Written in one go once the socket listens.
        assert wait_for(lambda: os.path.exists(listening) and os.path.getsize(listening), 30), "Firefox has no socket"
        with open(listening) as f:
            port = json.load(f)["ws_port"]
        # Firefox turns away a socket that names an origin, as a page's would.
        self.socket = websocket.create_connection("ws://127.0.0.1:%d/session" % port, suppress_origin=True)
        self.sent, self.logged = 0, []
        self.send("session.new", capabilities={})
        self.send("session.subscribe", events=["log.entryAdded"])
        self.context = {"context": self.send("browsingContext.getTree")["contexts"][0]["context"]}

    def send(self, method, **params):
        self.sent += 1
        self.socket.send(json.dumps({"id": self.sent, "method": method, "params": params}))
        while (message := json.loads(self.socket.recv())).get("id") != self.sent:
            if message.get("method") == "log.entryAdded" and message["params"]["level"] == "error":
                self.logged.append(message["params"]["text"])
        assert message["type"] == "success", "%s: %s" % (method, message.get("message"))
        return message["result"]

    def get(self, url):
        self.send("browsingContext.navigate", **self.context, url=url, wait="complete")

    def evaluate(self, expression):
        found = self.send("script.evaluate", target=self.context, awaitPromise=True, expression=expression)
        assert found["type"] == "success", found["exceptionDetails"]["text"]
        return found["result"]

    def run(self, script, *args):
        """script as a function's body, given args; its value, awaited, comes back as JSON."""
        found = self.evaluate("(async () => JSON.stringify(await (function () { %s }).apply(null, %s)))()"
                              % (script, json.dumps(args)))
        return json.loads(found["value"]) if found["type"] == "string" else None

    def click(self, element):
        """A real click, which a page may take as the user's."""
        found = self.evaluate("document.getElementById(%s)" % json.dumps(element))
        self.send("input.performActions", **self.context, actions=[{"type": "pointer", "id": "mouse", "actions": [
            {"type": "pointerMove", "x": 0, "y": 0, "origin": {"type": "element", "element": found}},
            {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]}])

    def errors(self):
        self.run("return 0")  # for the events come since
        found, self.logged = self.logged, []
        return found

    def preload(self, script):
        self.send("script.addPreloadScript", functionDeclaration="() => { %s }" % script)

    def quit(self):
        self.send("browser.close")
        self.socket.close()
        self.process.wait(30)


if __name__ == "__main__":
    window(*sys.argv[1:3])
