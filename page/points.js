// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* The chart for those who read it rather than see it: point by point from
 * the keyboard, and as a table.
 *
 * Point by point: a slider over the chart's points, the run's from the
 * first sample to now, then the class's runs in order of their samples and
 * the class together, moved with the arrow keys, Home and End (Page Up and
 * Page Down by a tenth).  Each point is its value, which a screen reader
 * reads as it changes, in the reader's language; its note is played
 * (sound.js) and it is ringed on the chart, for whoever watches.  A slider,
 * as screen readers pass its keys on to the page where in reading they
 * would keep the arrows for themselves.  It takes its keys before the
 * program can (data-keys), and keeps them from it.
 *
 * The table: behind a disclosure, the numbers of the file the class's panel
 * downloads (class.js), written as the reader's language writes them.  Made
 * only while open, and kept up once a second by changing only the cells that
 * changed, so that a reader inside it stays where they are.
 *
 * Sections: constants, point by point, the table, start.
 */
"use strict";

(function () {
  const tableEveryMs = 1000;
  const decimals = 8; // as the strip and the file have them

  const { say, number, band } = window.quorvel;
  const slider = document.getElementById("chart-points");
  const disclosure = document.getElementById("points");
  const table = document.getElementById("points-table");

  /* ---- point by point ---- */

  let place = null; // where the reader is, in the list; null until they come
  let here = null; // the point there, found again as the list grows

  function list() {
    const view = window.quorvel.chartView();
    if (!view)
      return [];
    const run = view.points.map(([samples, , estimate]) => ({ samples, estimate }));
    if (!view.klass)
      return run;
    const runs = [...view.klass.runs].sort((a, b) => a.samples - b.samples);
    return [...run, ...runs.map((r) => ({ ...r, who: `${say("a pupil's run")}.` })),
      { ...view.klass.together, who: `${say("the class together")}.` }];
  }

  function words({ samples, estimate, who }) {
    const half = band.half(samples);
    const values = { samples: number(samples), estimate: number(estimate, band.decimals(half)) };
    // TRANSLATORS: a screen reader reads this of one point of the chart as the reader steps along it
    // with the arrow keys. {samples} is any number from 1 up, after a colon; {estimate} has four or
    // more decimal places.
    const said = [who, say("Samples taken: {samples}. Estimate: {estimate}.", values)];
    if (!band.within(samples, estimate))
      // TRANSLATORS: said after the words above, of a point outside the band.
      said.push(say("Outside the band."));
    return said.filter(Boolean).join(" ");
  }

  /* Where the reader's point now stands: the run's points grow in front of
   * the class's, and the run's newest moves on.  A point gone, the run's
   * newest or a new run's, leaves the reader at the newest of its kind. */
  function placeIn(points) {
    const same = (p) => p && p.samples === here.samples && p.estimate === here.estimate && p.who === here.who;
    if (here === null)
      return points.length - 1;
    if (same(points[place]))
      return place;
    const found = points.findIndex(same);
    return found >= 0 ? found : here.who ? points.length - 1 : points.filter((p) => !p.who).length - 1;
  }

  function show(points, at, heard) {
    place = Math.max(0, Math.min(points.length - 1, at));
    const point = here = points[place];
    slider.setAttribute("aria-valuemax", String(points.length));
    slider.setAttribute("aria-valuenow", String(place + 1));
    slider.setAttribute("aria-valuetext", words(point));
    window.quorvel.chartRing([point.samples, point.estimate]);
    if (heard)
      window.quorvel.sound.point(point.samples, point.estimate);
  }

  const moves = {
    ArrowLeft: (i) => i - 1, ArrowDown: (i) => i - 1, ArrowRight: (i) => i + 1, ArrowUp: (i) => i + 1,
    PageDown: (i, n) => i - Math.ceil(n / 10), PageUp: (i, n) => i + Math.ceil(n / 10),
    Home: () => 0, End: (i, n) => n - 1,
  };
  function key(event) {
    event.stopPropagation();
    const move = moves[event.key];
    if (event.type !== "keydown" || !move || event.altKey || event.ctrlKey || event.metaKey)
      return;
    event.preventDefault();
    const points = list();
    if (points.length)
      show(points, move(placeIn(points), points.length), true);
  }
  // The reader arrives at now, or where they left.
  function arrive() {
    const points = list();
    if (points.length)
      show(points, placeIn(points), false);
  }

  /* ---- the table ---- */

  let keeping = 0;

  // The row's cells as its parent has them, or made; each changed only
  // where its text did.
  function fill(row, texts, tag) {
    texts.forEach((text, i) => {
      const cell = row.children[i] || row.appendChild(document.createElement(tag));
      if (tag === "th")
        cell.scope = "col";
      if (cell.textContent !== text)
        cell.textContent = text;
    });
  }
  function keepUp() {
    const { head, rows } = window.quorvel.numbers();
    // TRANSLATORS: the last column's heading in the table of the chart's points: yes or no below it.
    fill(table.tHead.rows[0] || table.tHead.insertRow(), [...head.slice(0, -1), say("within the band")], "th");
    const body = table.tBodies[0];
    // TRANSLATORS: in the table of the chart's points, under "within the band": the point is within it.
    const yes = say("yes");
    // TRANSLATORS: as above: the point is outside the band.
    const no = say("no");
    rows.forEach(([run, samples, inside, estimate, low, high, within], i) =>
      fill(body.rows[i] || body.insertRow(), [run, number(samples), number(inside), number(estimate, decimals),
        number(low, decimals), number(high, decimals), within ? yes : no], "td"));
    while (body.rows.length > rows.length)
      body.deleteRow(-1);
  }
  function opened() {
    clearInterval(keeping);
    keeping = 0;
    if (!disclosure.open)
      return;
    keepUp();
    keeping = setInterval(keepUp, tableEveryMs);
  }

  /* ---- start ---- */

  slider.setAttribute("aria-valuetext", say("The chart begins with the first sample."));
  for (const type of ["keydown", "keyup", "keypress"])
    slider.addEventListener(type, key);
  slider.addEventListener("focus", arrive);
  slider.addEventListener("blur", () => window.quorvel.chartRing(null));
  disclosure.addEventListener("toggle", opened);
})();
