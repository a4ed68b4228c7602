// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* The web layer's JavaScript half (an Emscripten library, built into
 * quorvel.js): the display frames that pace the program, and its picture put
 * on the canvas.
 *
 * Design note.  Between batches the program sleeps in quorvel_frames_next;
 * a display frame (requestAnimationFrame) wakes it with the ticks the frame
 * owes: the time since the last frame, at most a queue's worth of ticks,
 * times the speed the page asks for, at a tick every 10 ms; none while
 * paused, but for the samples asked for one at a time.  The batch runs as
 * many of them as fit in most of the frame, shows the picture once, straight
 * from the program's memory, and sleeps again: so at any speed the browser
 * gets its thread back every frame, and a slow device runs what it can and
 * drops the rest rather than falling behind.  Paused, and with nothing asked
 * for, no frame is asked for at all: the page costs nothing until a control
 * or an event pokes the frames.  A hidden tab gets no frames, so there a
 * timer stands in, which the browser slows to a crawl.
 *
 * What the page asks is the pace, Module.quorvelPace (page/README.md): the
 * frames read it once a frame and write back the rates asked for and run.
 *
 * Starting again: the frame answers the sleeping program with a close
 * request; once the program has shut down and returned from main, main is
 * called again, with the runtime kept alive and the same screen.  The new
 * run starts from nothing: no ticks owed for the time the restart took, and
 * the stack where it stood before the first start, as callMain leaves the
 * room it takes for main's arguments behind, which a page restarted over and
 * over would otherwise run out of.  The samples asked for before the new
 * start are the page's to forget (controls.js).
 *
 * Sections: the frames' state, the pace, showing, scheduling, the calls from
 * the program.
 */
mergeInto(LibraryManager.library, {
  $QuorvelFrames__deps: ["$Asyncify", "$SDL"],
  // The stack as it stands before main is first called.
  $QuorvelFrames__postset: "addOnPreMain(() => { QuorvelFrames.stackTop = stackSave(); });",
  $QuorvelFrames: {
    /* ---- the frames' state ---- */

    busyShare: 0.7, // of a frame, for the program's steps; the rest is the browser's
    pace: null, // what the page asks, Module.quorvelPace
    wake: null, // resumes the sleeping program with the ticks owed
    pending: 0, // the frame or, hidden, the timeout asked for
    hiddenWait: false, // pending is a timeout
    chained: false, // pending was asked for by a frame, so its time tells the display's rate
    inFrame: false,
    pen: null,
    changed: false, // the picture changed since it was last shown
    image: null,
    pixels: 0,
    width: 0,
    height: 0,
    intervalMs: 10,
    longestMs: 160, // the most time one frame accounts for
    periodMs: 1000 / 60,
    lastFrame: 0,
    budgetMs: 10,
    last: 0, // when the ticks were last counted, while running
    running: false,
    carry: 0, // a part of a tick, owed to the next frame
    owed: 0,
    ran: 0, // ticks run since reachedSince, for the rate reached
    reachedSince: 0,
    restarting: false,
    stackTop: 0, // the stack pointer before the first start

    begin: function () {
      const F = QuorvelFrames;
      F.pace = Module.quorvelPace || { speed: 1, paused: false, steps: 0, again: false };
      Module.quorvelPace = F.pace;
      F.pace.poke = F.schedule;
      F.pace.asked = 0;
      F.pace.reached = null;
      document.addEventListener("visibilitychange", F.schedule);
    },

    /* ---- the pace ---- */

    // The ticks this frame owes; no time counts that was spent paused.
    ticksOwed: function (now) {
      const F = QuorvelFrames;
      const pace = F.pace;
      if (pace.paused) {
        F.running = false;
        const steps = pace.steps;
        pace.steps = 0;
        return steps;
      }
      pace.steps = 0;
      const elapsed = F.running ? Math.max(0, Math.min(now - F.last, F.longestMs)) : 0;
      F.running = true;
      F.last = now;
      F.carry += elapsed * pace.speed / F.intervalMs;
      const owed = Math.floor(F.carry);
      F.carry -= owed;
      return owed;
    },

    // The rate asked for and the rate run, over a second or so at one
    // speed; null until there is such a second.
    count: function (ran) {
      const F = QuorvelFrames;
      const pace = F.pace;
      const now = performance.now();
      const asked = pace.paused ? 0 : pace.speed * 1000 / F.intervalMs;
      if (!F.running || asked !== pace.asked) {
        pace.asked = asked;
        pace.reached = null;
        F.ran = 0;
        F.reachedSince = now;
        return;
      }
      F.ran += ran;
      if (now - F.reachedSince >= 1000) {
        pace.reached = F.ran * 1000 / (now - F.reachedSince);
        F.ran = 0;
        F.reachedSince = now;
      }
    },

    /* ---- showing ---- */

    // The program's pixels as they are, with no copy of its own; a view
    // made anew should the program's memory ever be replaced.
    show: function () {
      const F = QuorvelFrames;
      if (!F.changed || !F.pixels)
        return;
      if (!F.image || F.image.data.byteLength === 0)
        F.image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, F.pixels, F.width * F.height * 4),
          F.width, F.height);
      F.pen = F.pen || Module.canvas.getContext("2d");
      F.pen.putImageData(F.image, 0, 0);
      F.changed = false;
    },

    /* ---- scheduling ---- */

    // Asks for a frame where the program sleeps and has work: always while
    // running, and paused only for a sample asked for, an event, a picture to
    // show or a new start.
    schedule: function () {
      const F = QuorvelFrames;
      const pace = F.pace;
      const hidden = document.visibilityState === "hidden";
      const wanted = F.wake !== null &&
        (!pace.paused || pace.steps > 0 || pace.again || F.changed || SDL.events.length > 0);
      if (F.pending && (!wanted || F.hiddenWait !== hidden)) {
        (F.hiddenWait ? clearTimeout : cancelAnimationFrame)(F.pending);
        F.pending = 0;
      }
      if (!wanted || F.pending)
        return;
      F.hiddenWait = hidden;
      F.chained = F.inFrame && !hidden;
      F.pending = hidden ? setTimeout(() => F.frame(performance.now()), F.intervalMs) : requestAnimationFrame(F.frame);
    },

    // The display's rate, from frames asked for one after another: down at
    // once to a shorter period, up slowly, so that a frame the program
    // overran does not grow its share.
    timeFrame: function (now) {
      const F = QuorvelFrames;
      if (F.hiddenWait) {
        F.budgetMs = F.busyShare * F.intervalMs;
        return;
      }
      if (F.chained && now > F.lastFrame)
        F.periodMs = Math.max(4, Math.min(now - F.lastFrame, F.periodMs + 0.5, 50));
      F.lastFrame = now;
      F.budgetMs = F.busyShare * F.periodMs;
    },

    frame: function (now) {
      const F = QuorvelFrames;
      F.pending = 0;
      F.timeFrame(now);
      const wake = F.wake;
      if (!wake)
        return;
      F.wake = null;
      if (F.pace.again) {
        F.pace.again = false;
        F.restarting = true;
        F.running = false;
        F.carry = 0;
        F.owed = -1;
      } else {
        F.owed = F.ticksOwed(now);
      }
      F.inFrame = true;
      try {
        wake(F.owed);
      } finally {
        F.inFrame = false;
      }
    },
  },

  /* ---- the calls from the program ---- */

  quorvel_frames_show__deps: ["$QuorvelFrames"],
  quorvel_frames_show: function (pixels, width, height) {
    QuorvelFrames.begin();
    QuorvelFrames.pixels = pixels;
    QuorvelFrames.width = width;
    QuorvelFrames.height = height;
  },

  quorvel_frames_pace__deps: ["$QuorvelFrames"],
  quorvel_frames_pace: function (intervalMs, mostTicks) {
    QuorvelFrames.intervalMs = intervalMs;
    QuorvelFrames.longestMs = intervalMs * mostTicks;
  },

  // Shows the picture where a frame runs the program, or asks for a frame
  // to show it; a sample asked for that found no time is kept for the next.
  quorvel_frames_next__deps: ["$QuorvelFrames", "$Asyncify"],
  quorvel_frames_next: function (changed, unrun) {
    return Asyncify.handleSleep((wake) => {
      const F = QuorvelFrames;
      F.changed = F.changed || changed !== 0;
      if (F.pace.paused)
        F.pace.steps += unrun;
      F.count(Math.max(0, F.owed - unrun));
      F.owed = 0;
      if (F.inFrame)
        F.show();
      F.wake = wake;
      F.schedule();
    });
  },

  quorvel_frames_budget__deps: ["$QuorvelFrames"],
  quorvel_frames_budget: function () {
    return QuorvelFrames.budgetMs;
  },

  // Called as the program shuts down; main has returned by the next task,
  // and nothing of it is left on the stack.
  quorvel_frames_ended__deps: ["$QuorvelFrames"],
  quorvel_frames_ended: function () {
    const F = QuorvelFrames;
    if (!F.restarting)
      return;
    F.restarting = false;
    setTimeout(() => {
      stackRestore(F.stackTop);
      Module.callMain([]);
    });
  },
});
