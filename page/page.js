// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* The page around the program: it makes Module (README.md here) and starts
 * quorvel.js on the canvas, keeps the keyboard usable around the picture,
 * writes the strip's tally out as text for screen readers (saying so when
 * the run is paused, and once π is outside the chart's band) and hands it to
 * the chart and the sound, shows the strip's figures again under a picture
 * shrunk below its own size, where its small glyphs are hard to read, with a
 * control that copies the tally, begins all of them anew when the run starts
 * again, offers full screen for a projector, with the controls above and the
 * chart beside the picture where there is room, and, where the page is
 * served, offers its web app manifest in the reader's language and registers
 * the service worker that keeps the page for offline use.
 *
 * The page runs in three places.  Served, the program's WebAssembly comes as
 * quorvel.wasm.  Opened from disk, a page may fetch nothing, so it comes
 * inside a script, quorvel-wasm.js, and the manifest and the worker, which
 * need a server, are not asked for.  In the one file, quorvel.html, the
 * program's scripts follow this one in the page itself.
 *
 * Sections: constants, keys, the reading, the tally, full screen, start.
 */
"use strict";

(function () {
  const readingPeriodMs = 500; // the text trails the strip by at most this
  const width = 400;
  const height = 420;
  const chartLeastPx = 320; // narrower, and the chart's labels crowd its lines
  const copiedForMs = 2000;

  const { say, number, lang, sound } = window.quorvel;
  const canvas = document.getElementById("canvas");
  const stage = document.getElementById("stage");
  const reading = document.getElementById("reading");
  const trouble = document.getElementById("trouble");
  const control = document.getElementById("fullscreen");
  const controls = document.getElementById("controls");
  const stripAgain = document.getElementById("strip-again");
  const copy = document.getElementById("copy");

  /* ---- keys ---- */

  /* The program hears keys on the whole document and cancels each, which would
   * leave the keyboard trapped.  Keys aimed at a control stay the control's,
   * and Tab always moves on, so the picture can be left; every other key
   * over the picture (or over nothing in particular) is the program's.  A
   * control that answers keys itself (data-keys) gets them first, and keeps
   * them from the program on its own. */
  function keepKeys(event) {
    const forPicture = event.target === canvas || event.target === document.body;
    const ownKeys = event.target.dataset && "keys" in event.target.dataset;
    if ((event.key === "Tab" || !forPicture) && !ownKeys)
      event.stopPropagation();
  }

  /* ---- the reading ---- */

  /* The layer hands over the strip's texts with every picture it shows, and
   * where the newest samples landed; the page's text follows twice a second,
   * and is never announced unasked.  Where the page has said why the program
   * is not running, that stays the reading.  The sound hears each picture
   * only while it is on. */
  let latest = null;
  let stale = false;
  function takeStrip(estimate, count, landed) {
    const cut = count.indexOf("/");
    const before = latest;
    latest = { estimate: Number(estimate), inside: Number(count.slice(0, cut)), total: Number(count.slice(cut + 1)) };
    latest.strip = [count, estimate];
    stale = true;
    window.quorvel.chart(latest);
    showTally();
    if (sound.live)
      sound.land(before, latest, landed);
  }
  function showReading() {
    if (!stale || !trouble.hidden)
      return;
    stale = false;
    const paused = window.quorvel.pace.paused;
    if (latest === null) {
      // TRANSLATORS: what a screen reader reads of the picture of a run paused before it took a sample.
      reading.textContent = paused ? say("Paused before the first sample.") : say("The estimate has not started yet.");
      return;
    }
    const values = { estimate: number(latest.estimate, 8), inside: number(latest.inside), total: number(latest.total) };
    const { outside, outsideWords } = window.quorvel.band;
    const left = outside(latest.total) ? ` ${outsideWords()}` : "";
    reading.textContent = (paused ?
      // TRANSLATORS: what a screen reader reads of the picture while the run is paused: {total} samples
      // taken, the estimate to eight decimal places, {inside} of them inside the circle (any number from 0 up).
      say("Paused. Samples taken: {total}. Estimate of \u03c0: {estimate}. Samples inside the circle: {inside} " +
        "of {total}.", values) :
      // TRANSLATORS: what a screen reader reads of the picture: {estimate} to eight decimal places,
      // then {inside} of {total} samples inside the circle (any number from 0 up).
      say("Estimate of \u03c0: {estimate}. Samples inside the circle: {inside} of {total}.", values)) + left;
  }
  // Paused or played: said at the reading's next turn.
  function restate() {
    stale = true;
  }
  // A new run: nothing of the old one is said or drawn.
  function anew() {
    latest = null;
    stale = true;
    window.quorvel.chartRestart();
    showTally();
    sound.anew();
  }

  /* ---- the tally ---- */

  /* Shown where the picture is narrower than its own 400 pixels: decided
   * as the page starts, before it is first drawn, so that nothing moves
   * under a finger; after that, in the frame after the size changes, as
   * showing it makes the controls taller, and in full screen the picture
   * smaller. */
  function fitTally() {
    if (!canvas.hidden)
      stripAgain.hidden = canvas.getBoundingClientRect().width >= width - 0.5;
    showTally();
  }
  let sizing = false;
  function sizeTally() {
    if (sizing)
      return;
    sizing = true;
    requestAnimationFrame(() => {
      sizing = false;
      fitTally();
    });
  }
  // Written once a display frame at the most, however fast the steps.
  let writing = false;
  function showTally() {
    if (writing || stripAgain.hidden)
      return;
    writing = true;
    requestAnimationFrame(() => {
      writing = false;
      const [count, estimate] = latest ? latest.strip : ["", ""];
      stripAgain.firstElementChild.textContent = count;
      stripAgain.children[1].textContent = estimate;
      copy.disabled = latest === null;
    });
  }

  /* The tally as the class's panel takes it.  The clipboard's own call
   * where the page may use it (https, localhost), else the browser's older
   * copy of a selection (a school's network over plain http); where both
   * fail, the tally stays selected, for the reader to copy. */
  function copyTally() {
    if (latest === null)
      return;
    const count = latest.strip[0];
    const copied = () => {
      // TRANSLATORS: the "Copy" button once it has copied the tally: one short word.
      copy.textContent = say("Copied");
      setTimeout(() => { copy.textContent = say("Copy"); }, copiedForMs);
    };
    const selected = () => {
      stripAgain.firstElementChild.textContent = count;
      const range = document.createRange();
      range.selectNodeContents(stripAgain.firstElementChild);
      getSelection().removeAllRanges();
      getSelection().addRange(range);
      try {
        return document.execCommand("copy");
      } catch {
        return false;
      }
    };
    const written = navigator.clipboard ? navigator.clipboard.writeText(count) : Promise.reject(new Error("none"));
    written.then(copied, () => selected() && copied());
  }

  /* ---- full screen ---- */

  // Older Safari, and Safari on the iPad, know full screen by its prefixed
  // names only; the class stands for the pseudo-class that goes with them.
  function fullscreenElement() {
    return document.fullscreenElement || document.webkitFullscreenElement || null;
  }

  /* The largest whole factor of device pixels that fits under the controls,
   * so each of the program's pixels is an even square; where not even one
   * fits, the whole picture at whatever size does.  The chart takes the room
   * left beside it, where there is enough to read it. */
  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const bar = fullscreenElement() ? controls.offsetHeight : 0;
    const room = Math.min(window.innerWidth * ratio / width, (window.innerHeight - bar) * ratio / height);
    const factor = room >= 1 ? Math.floor(room) : room;
    const beside = window.innerWidth - width * factor / ratio;
    stage.style.setProperty("--scale", String(factor / ratio));
    stage.style.setProperty("--beside", `${beside}px`);
    stage.style.setProperty("--bar", `${bar}px`);
    stage.classList.toggle("roomy", beside >= chartLeastPx);
    sizeTally();
  }
  function toggleFullscreen() {
    if (fullscreenElement())
      (document.exitFullscreen || document.webkitExitFullscreen).call(document);
    else if (stage.requestFullscreen)
      stage.requestFullscreen().catch(() => {});
    else
      stage.webkitRequestFullscreen();
  }
  // The control stays focused, so that the keyboard can leave as it came.
  function fullscreenChanged() {
    const full = fullscreenElement() === stage;
    stage.classList.toggle("full", full);
    // TRANSLATORS: a button under the picture, beside others on a phone 320 px wide: a few short words.
    control.textContent = full ? say("Leave full screen") : say("Full screen");
    if (full)
      control.focus();
    fit();
  }
  function offerFullscreen() {
    if (!document.fullscreenEnabled && !document.webkitFullscreenEnabled)
      return;
    control.hidden = false;
    control.addEventListener("click", toggleFullscreen);
    for (const type of ["fullscreenchange", "webkitfullscreenchange"])
      document.addEventListener(type, fullscreenChanged);
    window.addEventListener("resize", fit);
    // The controls take more rows when a line joins them or a label grows.
    if (window.ResizeObserver)
      new ResizeObserver(() => fullscreenElement() && fit()).observe(controls);
  }

  /* ---- start ---- */

  // Kept in order, as the WebAssembly's script must come before the program.
  function load(src) {
    const script = document.createElement("script");
    script.src = src;
    script.async = false;
    script.dataset.program = "";
    document.body.appendChild(script);
  }
  // Offline use and installing are a bonus: where they cannot be had, the
  // page runs as ever.
  function offerOffline() {
    const manifest = document.createElement("link");
    manifest.rel = "manifest";
    manifest.href = lang === "en" ? "quorvel.webmanifest" : `quorvel.${lang}.webmanifest`;
    document.head.appendChild(manifest);
    if ("serviceWorker" in navigator)
      window.addEventListener("load", () => navigator.serviceWorker.register("sw.js").catch(() => {}));
  }

  window.quorvel = Object.assign(window.quorvel, { restate, anew });
  copy.addEventListener("click", copyTally);
  window.addEventListener("resize", sizeTally);
  fitTally();
  for (const type of ["keydown", "keyup", "keypress"])
    window.addEventListener(type, keepKeys, true);
  setInterval(showReading, readingPeriodMs);
  offerFullscreen();
  const served = location.protocol === "http:" || location.protocol === "https:";
  const oneFile = document.documentElement.dataset.page === "one-file";
  window.Module = { canvas, quorvelStrip: takeStrip, quorvelPace: window.quorvel.pace };
  // Where the browser lacks what the page needs, the watcher says so, and
  // nothing is fetched; the one file's own program fails under its watch.
  if (!window.quorvel.watch(window.Module, oneFile ? "one-file" : served ? "served" : "file") || oneFile)
    return;
  if (!served)
    load("quorvel-wasm.js");
  load("quorvel.js");
  if (served)
    offerOffline();
})();
