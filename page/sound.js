// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* The page heard as well as seen, so that a pupil who cannot see it runs
 * the same experiment as the class: the samples as they land, the estimate
 * at the faster speeds, and the chart as an audio graph.  The design and its
 * reasons are in docs/sound.md.
 *
 * Nothing sounds unasked.  The Sound control, off until pressed and kept in
 * the browser like the class's entries, turns on the run's sound; "Listen
 * to the chart", and the keys that read the chart point by point
 * (points.js), are asked for each time, and sound whether or not it is on.
 * Until then nothing is made, and the page costs what it did: no audio
 * context, and not a call a step.  Browsers let a page start sound only in a
 * person's gesture, so the context is made in one: where Sound was left on,
 * at the page's first touch, click or key.
 *
 * What is heard, through one limiter at a modest level:
 * - a sample at ×1, and each one taken while paused ("One sample", a key or
 *   a touch over the picture): a short soft note, a fifth higher where it
 *   lands inside the circle, from the left or the right as it lands on the
 *   board; at ×1, a hundred a second, a patter like rain;
 * - at ×10 and faster, where notes would run together: three notes a second,
 *   each at the estimate's height on the chart, whose scale follows the
 *   band, so the note keeps near the middle while the estimate keeps to the
 *   band, and turns rough outside it;
 * - the chart: π and 3.1419 first, then the path from the first sample to
 *   now in four seconds, left to right, its height the pitch, rough where it
 *   lies outside the band, a tick at each power of ten; then the class's runs.
 * The run's sound stops when paused, everything stops at "Start again" and
 * when the tab is hidden, and the context rests whenever nothing is to be
 * heard, so that a quiet page costs nothing.
 *
 * Sections: constants, the context, notes, the run, the chart, the control,
 * start.
 */
"use strict";

(function () {
  const storeKey = "quorvel: sound";
  const lowHz = 220; // the chart's bottom, A3; its top is two octaves up
  const octaves = 2;
  const insideHz = 659.26; // E5, a fifth over A4: apart, and never a clash
  const outsideHz = 440;
  const wide = 0.8; // the farthest left or right, so that neither ear is alone
  const leadS = 0.03; // notes are set this far ahead, so that each starts whole
  const attackS = 0.004;
  const drop = { gapS: 0.01, jitterS: 0.004, aheadS: 0.15, lengthS: 0.12, peak: 0.05 };
  const step = { lengthS: 0.45, peak: 0.15 };
  const beat = { everyS: 1 / 3, lengthS: 0.3, peak: 0.12 };
  const chart = {
    referenceS: 0.5, gapS: 0.2, pathS: 4, peak: 0.12, roughShare: 0.6, tickS: 0.03, tickPeak: 0.3,
    classS: 4, runS: 0.25, togetherS: 0.7,
  };
  const restEveryMs = 2000; // a context with nothing to play is put to rest,
  const restAfterS = 1; // once this long has passed since it last played
  const fadeS = 0.01;

  const { board, band } = window.quorvel;
  const boardSide = Math.sqrt(board.pixels);
  const control = document.getElementById("sound");
  const api = { live: false, land, hold, anew, point };

  /* ---- the context ---- */

  let context = null;
  let limiter = null;
  let runBus = null; // the run's notes, let go of when paused
  let chartBus = null; // the chart's
  let noise = null; // a tick's
  let quietAt = 0; // the context's time when all that was set has sounded
  let resting = 0;

  /* All that sounds goes through a limiter and then a modest gain: peaks of
   * about -13 dB of full scale, whatever adds up, under a teacher's voice and
   * never clipping.  False where the browser has no Web Audio. */
  function start() {
    if (context)
      return wake();
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context)
      return false;
    context = new Context();
    limiter = context.createDynamicsCompressor();
    for (const [name, value] of [["threshold", -18], ["knee", 0], ["ratio", 20], ["attack", 0.002], ["release", 0.1]])
      limiter[name].value = value;
    const level = context.createGain();
    level.gain.value = 0.5;
    limiter.connect(level).connect(context.destination);
    runBus = bus();
    chartBus = bus();
    const length = Math.round(chart.tickS * context.sampleRate);
    noise = context.createBuffer(1, length, context.sampleRate);
    noise.getChannelData(0).forEach((_, i, data) => (data[i] = (2 * Math.random() - 1) * Math.exp(-8 * i / length)));
    api.live = on;
    return wake();
  }

  function wake() {
    if (context.state !== "running")
      context.resume().catch(() => {});
    if (!resting)
      resting = setInterval(rest, restEveryMs);
    return true;
  }
  function rest() {
    if (context.currentTime < quietAt + restAfterS)
      return;
    clearInterval(resting);
    resting = 0;
    context.suspend().catch(() => {});
  }

  function bus() {
    const gain = context.createGain();
    gain.connect(limiter);
    return gain;
  }
  // What was set on a bus fades out at once, and a new bus takes its place.
  function hush(old) {
    old.gain.setTargetAtTime(0, context.currentTime, fadeS);
    setTimeout(() => old.disconnect(), 10 * fadeS * 1000);
    return bus();
  }

  /* ---- notes ---- */

  // A pitch for an estimate: its height on the chart as the chart shows it.
  function pitch(value, view) {
    const height = Math.max(0, Math.min(1, (value - view.low) / (view.high - view.low)));
    return lowHz * 2 ** (octaves * height);
  }
  // Left to right: a column of the board, or a place along the chart's axis.
  function across(share) {
    return wide * (2 * Math.max(0, Math.min(1, share)) - 1);
  }

  /* A note: a sine, or, rough, a sawtooth softened by a low-pass, which
   * swells in a few ms and dies away over its length. */
  function note(into, at, hz, lengthS, peak, pan, rough) {
    const tone = context.createOscillator();
    tone.type = rough ? "sawtooth" : "sine";
    tone.frequency.value = hz;
    const swell = context.createGain();
    swell.gain.setValueAtTime(0, at);
    swell.gain.linearRampToValueAtTime(peak, at + attackS);
    swell.gain.setTargetAtTime(0, at + attackS, lengthS / 5);
    const place = context.createStereoPanner();
    place.pan.value = pan;
    (rough ? tone.connect(softener(hz)) : tone).connect(swell).connect(place).connect(into);
    tone.start(at);
    tone.stop(at + lengthS);
    quietAt = Math.max(quietAt, at + lengthS);
  }
  function softener(hz) {
    const filter = context.createBiquadFilter();
    filter.frequency.value = 4 * hz;
    return filter;
  }
  function tick(at, pan) {
    const source = context.createBufferSource();
    source.buffer = noise;
    const filter = context.createBiquadFilter();
    filter.type = "bandpass";
    filter.frequency.value = 3000;
    const level = context.createGain();
    level.gain.value = chart.tickPeak;
    const place = context.createStereoPanner();
    place.pan.value = pan;
    source.connect(filter).connect(level).connect(place).connect(chartBus);
    source.start(at);
    quietAt = Math.max(quietAt, at + chart.tickS);
  }

  /* ---- the run ---- */

  let nextDrop = 0;
  let nextBeat = 0;

  /* The samples taken since the last picture, as the strip counts them,
   * each where it landed in the trail handed over with it, oldest first: a
   * picture may come after a few steps, and a new run's first after none.
   * More than the trail holds (the mouse over the picture) go unheard, and
   * so does a hidden tab, where the program goes on at a timeout's pace. */
  function land(before, now, landed) {
    const taken = now.total - (before ? before.total : 0);
    if (taken <= 0 || document.visibilityState === "hidden")
      return;
    if (context.state !== "running")
      wake();
    const pace = window.quorvel.pace;
    if (!pace.paused && pace.speed !== 1)
      return summary(now);
    for (const { x, inside } of landed.slice(-taken)) {
      const hz = inside ? insideHz : outsideHz;
      if (pace.paused)
        note(runBus, context.currentTime + leadS, hz, step.lengthS, step.peak, across(x / boardSide));
      else
        patter(hz, across(x / boardSide));
    }
  }

  /* At the program's own pace the steps come a frame's batch at a time:
   * each goes a tick after the last, shifted by a few ms at random, so that
   * they fall like rain rather than buzz at a hundred a second.  Samples
   * beyond the ticks (the mouse over the picture) go unheard where they
   * would pile up. */
  function patter(hz, pan) {
    const soonest = context.currentTime + leadS;
    nextDrop = Math.max(nextDrop, soonest);
    if (nextDrop > soonest + drop.aheadS)
      return;
    note(runBus, nextDrop + drop.jitterS * Math.random(), hz, drop.lengthS, drop.peak, pan);
    nextDrop += drop.gapS;
  }

  function summary(now) {
    const at = context.currentTime + leadS;
    if (at < nextBeat)
      return;
    nextBeat = at + beat.everyS;
    const view = window.quorvel.chartView();
    if (view)
      note(runBus, at, pitch(now.estimate, view), beat.lengthS, beat.peak, 0, !band.within(now.total, now.estimate));
  }

  function hold(paused) {
    if (paused && context)
      runBus = hush(runBus);
  }
  function anew() {
    if (!context)
      return;
    runBus = hush(runBus);
    chartBus = hush(chartBus);
  }

  /* ---- the chart ---- */

  /* π and 3.1419, then the path from the first sample to now, left to right
   * in a few seconds, on two voices that follow the path's pitch, smooth
   * within the band and rough outside it, with a tick at each of the axis's
   * lines; then the class's runs in order of their samples, each a note at
   * its height, and the class together, longer. */
  function listen() {
    const view = window.quorvel.chartView();
    if (!view || !start())
      return;
    chartBus = hush(chartBus);
    let at = context.currentTime + leadS + 0.1;
    for (const value of [Math.PI, band.centre]) {
      note(chartBus, at, pitch(value, view), chart.referenceS, chart.peak, 0);
      at += chart.referenceS + chart.gapS;
    }
    at += chart.gapS;
    const place = (n) => Math.log10(n) / view.decades;
    path(view, at, place);
    for (let power = 0; power <= view.decades; power++)
      tick(at + chart.pathS * power / view.decades, across(power / view.decades));
    at += chart.pathS + chart.gapS;
    if (!view.klass)
      return;
    const runs = [...view.klass.runs].sort((a, b) => a.samples - b.samples);
    const every = Math.min(chart.runS, chart.classS / runs.length);
    for (const { samples, estimate } of runs) {
      note(chartBus, at, pitch(estimate, view), chart.runS, chart.peak, across(place(samples)),
        !band.within(samples, estimate));
      at += every;
    }
    const { samples, estimate } = view.klass.together;
    note(chartBus, at + chart.gapS, pitch(estimate, view), chart.togetherS, chart.peak, across(place(samples)),
      !band.within(samples, estimate));
  }

  function path(view, from, place) {
    const smooth = context.createOscillator();
    const rough = context.createOscillator();
    rough.type = "sawtooth";
    const [smoothLevel, roughLevel] = [context.createGain(), context.createGain()];
    const pan = context.createStereoPanner();
    smoothLevel.gain.value = roughLevel.gain.value = 0;
    smooth.connect(smoothLevel).connect(pan);
    rough.connect(softener(2 * lowHz)).connect(roughLevel).connect(pan);
    pan.connect(chartBus);
    pan.pan.setValueAtTime(across(0), from);
    pan.pan.linearRampToValueAtTime(across(1), from + chart.pathS);
    let end = from;
    view.points.forEach(([samples, , estimate], i) => {
      end = from + chart.pathS * place(samples);
      for (const voice of [smooth, rough])
        voice.frequency[i ? "exponentialRampToValueAtTime" : "setValueAtTime"](pitch(estimate, view), end);
      const out = !band.within(samples, estimate);
      smoothLevel.gain.setTargetAtTime(out ? 0 : chart.peak, end, fadeS);
      roughLevel.gain.setTargetAtTime(out ? chart.peak * chart.roughShare : 0, end, fadeS);
    });
    for (const level of [smoothLevel, roughLevel])
      level.gain.setTargetAtTime(0, end + 0.1, fadeS * 3);
    for (const voice of [smooth, rough]) {
      voice.start(from);
      voice.stop(end + 0.3);
    }
    quietAt = Math.max(quietAt, end + 0.3);
  }

  // One point of the chart, as its reader moves to it.
  function point(samples, estimate) {
    const view = window.quorvel.chartView();
    if (!view || !start())
      return;
    note(chartBus, context.currentTime + leadS, pitch(estimate, view), step.lengthS, chart.peak,
      across(Math.log10(Number(samples)) / view.decades), !band.within(samples, estimate));
  }

  /* ---- the control ---- */

  let on = false;
  let store = null;
  try {
    store = window.localStorage;
  } catch {
    store = null;
  }

  function turn(wanted) {
    on = wanted;
    control.setAttribute("aria-pressed", String(on));
    try {
      if (on)
        store.setItem(storeKey, "on");
      else
        store.removeItem(storeKey);
    } catch {
      // Not kept: the page still sounds until it closes.
    }
    if (on)
      start();
    else if (context)
      runBus = hush(runBus);
    api.live = on && context !== null;
  }

  // Left on from before: the context waits for the page's first gesture.
  function firstGesture() {
    for (const type of ["pointerup", "keydown", "click"])
      document.removeEventListener(type, firstGesture, true);
    if (on)
      start();
  }

  function hidden() {
    if (document.visibilityState !== "hidden" || !context)
      return;
    anew();
    clearInterval(resting);
    resting = 0;
    context.suspend().catch(() => {});
  }

  /* ---- start ---- */

  control.addEventListener("click", () => turn(!on));
  document.getElementById("listen").addEventListener("click", listen);
  document.addEventListener("visibilitychange", hidden);
  if (store && store.getItem(storeKey) === "on") {
    on = true;
    control.setAttribute("aria-pressed", "true");
    for (const type of ["pointerup", "keydown", "click"])
      document.addEventListener(type, firstGesture, true);
  }
  window.quorvel = Object.assign(window.quorvel, { sound: api });
})();
