// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* Where the program cannot start, or stops, the page says so in words in
 * place of the picture, and gives a screen reader the same words: what
 * happened and what to do about it.  A black square and silence would leave
 * a teacher in front of a class with nothing to go on.
 *
 * The signs, quickest first: one of the program's scripts does not load (a
 * copied folder that lost a file); Emscripten gives up (a quorvel.wasm that
 * is missing or not WebAssembly); the program ends with a failure, or, as it
 * starts, throws what nobody catches.  Where none of those comes, the
 * pictures themselves tell: the first must come within a few seconds, and
 * then they keep coming while the page is in view (a hidden tab's timers
 * crawl, so it is not held against it).
 *
 * What to do depends on where the page is: index.html opened from disk, the
 * folder served, or the one file, quorvel.html.
 *
 * Sections: constants, messages, watching.
 */
"use strict";

(function () {
  const firstPictureMs = 10000; // loading on a slow phone, then starting
  const quietMs = 3000; // a hundred pictures a second, and then none
  const lookEveryMs = 1000;

  /* ---- messages ---- */

  // Whole sentences, so that each language can word them its own way.
  function happened(started, cause) {
    const { say } = window.quorvel;
    if (cause === "load")
      return say("Quorvel could not start: part of the program did not load (quorvel.js or quorvel.wasm " +
        "is missing or damaged).");
    if (cause === "ended")
      return started ? say("Quorvel stopped: the program ended with an error.") :
        say("Quorvel could not start: the program ended with an error.");
    return started ? say("Quorvel stopped: the program stopped drawing.") :
      say("Quorvel could not start: the program did not draw its first picture.");
  }
  function advice(place) {
    const { say } = window.quorvel;
    const todo = {
      file: () => say("To run it from this folder, open quorvel.html instead, which holds the whole page " +
        "in one file, or serve the folder from a web server."),
      served: () => say("Reload the page. If it fails again, copy the whole folder to the server anew, or " +
        "use quorvel.html, which holds the whole page in one file."),
      "one-file": () => say("Reload the page. If it fails again, get quorvel.html anew: this copy may be " +
        "damaged."),
    };
    return todo[place]() + " " + say("Any current version of Firefox, Chrome, Edge or Safari runs it.");
  }

  function message(started, cause, place) {
    return happened(started, cause) + " " + advice(place);
  }

  /* ---- watching ---- */

  /* Watches the program that module describes, from before its script runs,
   * and says once, in place of the picture, why it is not running. */
  function watch(module, place) {
    const canvas = document.getElementById("canvas");
    const trouble = document.getElementById("trouble");
    const reading = document.getElementById("reading");
    let started = false;
    let said = false;
    let last = performance.now();
    let timer = 0;

    function tell(cause) {
      if (said)
        return;
      said = true;
      clearInterval(timer);
      const text = message(started, cause, place);
      canvas.hidden = true;
      trouble.textContent = text;
      trouble.hidden = false;
      reading.textContent = text;
    }
    function look() {
      const limit = started ? quietMs : firstPictureMs;
      if (document.visibilityState === "visible" && performance.now() - last > limit)
        tell("silent");
    }

    const take = module.quorvelStrip;
    module.quorvelStrip = (estimate, tally) => {
      started = true;
      last = performance.now();
      if (!said)
        take(estimate, tally);
    };
    module.onAbort = () => tell(started ? "ended" : "load");
    // Called as the program ends; a status of 0 is Emscripten setting the
    // first wait aside, not an end, and the pictures stopping tells of one.
    module.quit = (status, thrown) => {
      if (status !== 0)
        tell("ended");
      throw thrown;
    };
    // Captured, since a script that does not load tells only itself.  An
    // error before the first picture is a damaged script; after it, the
    // pictures tell whether the program still runs.
    window.addEventListener("error", (event) => {
      const script = event.target instanceof HTMLScriptElement && "program" in event.target.dataset;
      if (script || (event instanceof ErrorEvent && !started))
        tell("load");
    }, true);
    document.addEventListener("visibilitychange", () => { last = performance.now(); });
    timer = setInterval(look, lookEveryMs);
  }

  window.quorvel = Object.assign(window.quorvel || {}, { watch });
})();
