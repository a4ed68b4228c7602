// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* The teacher's controls beside the picture, as classroom simulations have
 * them: pause and play, one sample at a time while paused, a speed of ×1
 * (the program's own pace, where the page starts), ×10, ×100, ×1,000 or
 * ×10,000, and start again.  ×10,000 asks for a million samples a second,
 * which takes a class past a hundred million, where π leaves the band, within
 * two minutes.  They are buttons and a group of the page's own, never keys taken
 * from the picture: keys, mouse moves and touches over it stay the
 * program's, and take a sample each, paused or not.
 *
 * What they ask goes to the program as the pace (README.md here), and the
 * rate it reaches comes back there: where the device cannot keep up with the
 * speed, a line under the controls says so; like the reading, it is never
 * announced.
 *
 * Sections: constants, the pace, the controls, the rate, start.
 */
"use strict";

(function () {
  const rateEveryMs = 1000;
  const shortOf = 0.9; // of the rate asked for: below it, the page says what it reaches
  const shortTurns = 2; // that long in a row, so that a moment's stall is not worth a word

  const { say, number } = window.quorvel;
  const pause = document.getElementById("pause");
  const step = document.getElementById("step");
  const again = document.getElementById("again");
  const rate = document.getElementById("rate");

  /* ---- the pace ---- */

  // The layer replaces poke() once the program runs; reached stays null
  // until a whole second at one speed has been measured.
  const pace = { speed: 1, paused: false, steps: 0, again: false, asked: 0, reached: null, poke() {} };

  /* ---- the controls ---- */

  // Paused, the trouble watcher expects no pictures, the reading says so,
  // and the run's sound stops.
  function hold(paused) {
    pace.paused = paused;
    // TRANSLATORS: the button that pauses the run, then plays it again; beside others on a phone 320 px
    // wide: one short word each.
    pause.textContent = paused ? say("Play") : say("Pause");
    step.disabled = !paused;
    window.quorvel.quiet(paused);
    window.quorvel.sound.hold(paused);
    window.quorvel.restate();
    pace.poke();
  }
  function oneSample() {
    pace.steps++;
    pace.poke();
  }
  function setSpeed(event) {
    pace.speed = Number(event.target.value);
    pace.poke();
  }
  // Full screen, the language and the speed stay; paused stays paused, on
  // the program's start-up picture.  Samples asked for before it and not yet
  // taken belong to the run that ends, so the new one starts with none.
  function startAgain() {
    pace.steps = 0;
    pace.again = true;
    window.quorvel.anew();
    pace.poke();
  }

  /* ---- the rate ---- */

  let shortFor = 0;
  function sayRate() {
    const short = !pace.paused && pace.reached !== null && pace.reached < shortOf * pace.asked;
    shortFor = short ? shortFor + 1 : 0;
    rate.hidden = shortFor < shortTurns;
    if (!rate.hidden)
      // TRANSLATORS: under the controls, where a device cannot keep up with the speed chosen: {reached}
      // is the samples it takes a second, {asked} the samples a second the speed asks for (1,000 to 1,000,000).
      rate.textContent = say("Samples a second on this device: {reached} of the {asked} asked for.",
        { reached: number(Math.round(pace.reached)), asked: number(pace.asked) });
  }

  /* ---- start ---- */

  // Each speed's number as the reader's language writes it.
  for (const label of document.querySelectorAll("#speed label"))
    label.querySelector("span").textContent = `\u00d7${number(Number(label.querySelector("input").value))}`;
  pause.addEventListener("click", () => hold(!pace.paused));
  step.addEventListener("click", oneSample);
  for (const radio of document.querySelectorAll("#speed input"))
    radio.addEventListener("change", setSpeed);
  again.addEventListener("click", startAgain);
  setInterval(sayRate, rateEveryMs);
  window.quorvel = Object.assign(window.quorvel || {}, { pace });
})();
