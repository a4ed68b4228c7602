// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* Where the program cannot start, or stops, the page says so in words in
 * place of the picture, and gives a screen reader the same words: what
 * happened and what to do about it.  A black square and silence would leave
 * a teacher in front of a class with nothing to go on.
 *
 * Before anything starts, the page tries what it needs of the browser:
 * WebAssembly under its own security policy, and, opened from disk or as the
 * one file, the unpacking of the WebAssembly it carries.  Tried, not looked up
 * by name or version, since a browser can know WebAssembly and still refuse
 * it under the policy.  Where one is missing, the page names the browsers
 * that run it; a teacher told that a file is damaged would copy it again, to
 * no effect.
 *
 * Then the signs, quickest first: one of the program's scripts does not load
 * (a copied folder that lost a file); Emscripten gives up (a quorvel.wasm that
 * is missing or not WebAssembly); the program ends with a failure, or, as it
 * starts, throws what nobody catches.  Where none of those comes, the
 * pictures themselves tell: the first must come within a few seconds, and
 * then they keep coming while the page is in view (a hidden tab's timers
 * crawl, so it is not held against it), unless the page has asked for quiet
 * (paused, it holds the program's ticks).  Silence is only a sign: whatever
 * was said, the next picture takes it back, and the picture, the chart and
 * the reading go on from where they were.  A program that has ended draws no
 * more pictures, so only its words stay.
 *
 * What to do depends on where the page is: index.html opened from disk, the
 * folder served, or the one file, quorvel.html.
 *
 * Sections: constants, what the page needs, messages, saying, watching.
 */
"use strict";

(function () {
  const firstPictureMs = 10000; // loading on a slow phone, then starting
  const silenceMs = 3000; // a hundred pictures a second, and then none
  const lookEveryMs = 1000;
  // The first versions that run the page, as MDN's browser compatibility
  // data give them (Edge's follow Chrome's): WebAssembly under a policy that
  // allows it by 'wasm-unsafe-eval', and DecompressionStream("deflate-raw").
  const runs = {
    webAssembly: { safari: "16", chrome: "97", firefox: "102" },
    unpacking: { safari: "16.4", chrome: "103", firefox: "113" },
  };
  // The smallest WebAssembly module there is: its magic number and version.
  const emptyModule = [0x00, 0x61, 0x73, 0x6d, 0x01, 0x00, 0x00, 0x00];

  /* ---- what the page needs ---- */

  // Compiled under the page's own policy, as the program will be.
  function compiles() {
    try {
      return new WebAssembly.Module(new Uint8Array(emptyModule)) instanceof WebAssembly.Module;
    } catch (error) {
      return false;
    }
  }
  // Chrome had DecompressionStream before it had this format.
  function unpacks() {
    try {
      return new DecompressionStream("deflate-raw") instanceof DecompressionStream;
    } catch (error) {
      return false;
    }
  }
  // What the browser lacks to run the page where it is, or null; served, the
  // WebAssembly comes as it is.
  function lacking(place) {
    if (!compiles())
      return "webAssembly";
    if (place !== "served" && !unpacks())
      return "unpacking";
    return null;
  }

  /* ---- messages ---- */

  // Whole sentences, so that each language can word them its own way.
  function happened(cause, started) {
    const { say } = window.quorvel;
    const sentences = {
      // TRANSLATORS: said in place of the picture, and to a screen reader, where Quorvel cannot run,
      // before what to do about it. Past events in one tense throughout, as "did not load" here.
      webAssembly: () => say("Quorvel cannot run in this browser: it does not run WebAssembly, the form the " +
        "program comes in, under the page's security rules."),
      // TRANSLATORS: as above, where the page was opened from a file on this computer.
      unpacking: () => say("Quorvel cannot run in this browser from a file: the browser cannot unpack the " +
        "program that the page carries inside it."),
      // TRANSLATORS: as above.
      load: () => say("Quorvel could not start: part of the program did not load (quorvel.js or quorvel.wasm " +
        "is missing or damaged)."),
      // TRANSLATORS: as above: the first, once the program had run; the second, before it ran.
      ended: () => (started ? say("Quorvel stopped: the program ended with an error.") :
        say("Quorvel could not start: the program ended with an error.")),
      // TRANSLATORS: as above: the first, once the program had run (it may come back); the second,
      // before it drew anything.
      silent: () => (started ? say("Quorvel is waiting: the program has drawn nothing for a few seconds. The " +
        "picture comes back by itself as soon as it draws again; if it does not, reload the page.") :
        say("Quorvel could not start: the program did not draw its first picture.")),
    };
    return sentences[cause]();
  }
  function advice(cause, started, place) {
    const { say } = window.quorvel;
    if (cause === "webAssembly" || cause === "unpacking") {
      // TRANSLATORS: what to do, after the words above. {safari}, {chrome} and {firefox} are
      // version numbers, such as 16.4: write them as they are, with their point.
      const versions = say("Safari {safari}, Chrome and Edge {chrome}, and Firefox {firefox} run it, and so do " +
        "their later versions.", runs[cause]);
      if (cause === "unpacking")
        // TRANSLATORS: what to do, for a page opened from a file on this computer.
        return versions + " " + say("The page's folder may still run in this browser if you put it on a web " +
          "server and open it from there.");
      // A newer browser is refused too where the server sends a policy of its own.
      return place === "served" ? versions + " " +
        // TRANSLATORS: for whoever runs the web server; keep 'wasm-unsafe-eval' as it is.
        say("If a newer browser fails too, the web server's own security policy forbids WebAssembly: it must " +
          "allow 'wasm-unsafe-eval'.") : versions;
    }
    if (cause === "silent" && started)
      return "";
    const todo = {
      // TRANSLATORS: what to do, after the words above, where index.html was opened from a folder on
      // this computer. The names of files stay as they are.
      file: () => say("To run it from this folder, open quorvel.html instead, which holds the whole page " +
        "in one file, or put the folder on a web server."),
      // TRANSLATORS: as above, where the page came from a web server.
      served: () => say("Reload the page. If it fails again, copy the whole folder to the server again, or " +
        "use quorvel.html, which holds the whole page in one file."),
      // TRANSLATORS: as above, where the page is the one file, quorvel.html.
      "one-file": () => say("Reload the page. If it fails again, get a new copy of quorvel.html: this one may " +
        "be damaged."),
    };
    // TRANSLATORS: the last words of what to do.
    return todo[place]() + " " + say("Any current version of Firefox, Chrome, Edge or Safari runs it.");
  }

  /* ---- saying ---- */

  const canvas = document.getElementById("canvas");
  const trouble = document.getElementById("trouble");
  const reading = document.getElementById("reading");
  let said = null; // the cause said in place of the picture, while it stands
  let heard = ""; // what the reading said before, given back with the picture

  // Silence gives way to a known cause; a known cause stands until a picture.
  function tell(cause, started, place) {
    if (said !== null && (said !== "silent" || cause === "silent"))
      return;
    const text = (happened(cause, started) + " " + advice(cause, started, place)).trim();
    if (said === null)
      heard = reading.textContent;
    said = cause;
    canvas.hidden = true;
    trouble.textContent = text;
    trouble.hidden = false;
    reading.textContent = text;
  }
  // The canvas kept every picture while it was hidden.
  function takeBack() {
    if (said === null)
      return;
    said = null;
    trouble.hidden = true;
    canvas.hidden = false;
    reading.textContent = heard;
  }

  /* ---- watching ---- */

  let started = false;
  let quieted = false;
  let last = performance.now();

  /* Watches the program that module describes, from before its script runs,
   * and says, in place of the picture, why it is not running.  Returns
   * whether the browser has what the page needs where it is; where not, it
   * has said so, and the page starts nothing. */
  function watch(module, place) {
    function look() {
      const limit = started ? silenceMs : firstPictureMs;
      if (!quieted && document.visibilityState === "visible" && performance.now() - last > limit)
        tell("silent", started, place);
    }

    const take = module.quorvelStrip;
    module.quorvelStrip = (estimate, tally, landed) => {
      started = true;
      last = performance.now();
      takeBack();
      take(estimate, tally, landed);
    };
    module.onAbort = () => tell(started ? "ended" : "load", started, place);
    // Called as the program ends; a status of 0 is Emscripten setting the
    // first wait aside, not an end, and the pictures stopping tells of one.
    module.quit = (status, thrown) => {
      if (status !== 0)
        tell("ended", started, place);
      throw thrown;
    };
    // Captured, since a script that does not load tells only itself.  An
    // error before the first picture is a damaged script; after it, the
    // pictures tell whether the program still runs.
    window.addEventListener("error", (event) => {
      const script = event.target instanceof HTMLScriptElement && "program" in event.target.dataset;
      if (script || (event instanceof ErrorEvent && !started))
        tell("load", started, place);
    }, true);
    document.addEventListener("visibilitychange", () => { last = performance.now(); });
    setInterval(look, lookEveryMs);

    const lack = lacking(place);
    if (lack !== null)
      tell(lack, started, place);
    return lack === null;
  }

  /* While on, the page holds the program's ticks (paused): no picture is due,
   * so silence is not held against the program, and what it had said of
   * silence is taken back; the clock starts anew either way. */
  function quiet(on) {
    quieted = Boolean(on);
    last = performance.now();
    if (quieted && said === "silent")
      takeBack();
  }

  window.quorvel = Object.assign(window.quorvel || {}, { watch, quiet });
})();
