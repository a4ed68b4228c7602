// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* The chart beside the picture: the estimate against the samples taken, on
 * a logarithmic axis from 1 to now, with the line of π, the line of 3.1419,
 * where this estimator settles (four times the share of the board's pixels
 * inside the circle), and the band of two standard errors about it, where
 * the estimate stays about 95 times in 100.  It shows what a Monte Carlo
 * estimate is about: it wanders less and less, as one over the square root
 * of the samples, and closes in on its limit.
 *
 * It keeps a point, the samples, the inside count and the estimate, only
 * where the samples have grown by a fortieth of a decade, so at most some
 * 400 points however long the page runs.  The vertical scale follows the
 * band at the latest count, so a day in the band is as readable as its first
 * second.  Drawn by hand on a canvas, twice a second where something
 * changed, at the screen's own pixels; its words for screen readers follow
 * as often and are never announced.
 *
 * The class's runs, typed in beside it (class.js), stand on it as marks at
 * their own counts, against the band's funnel, with their pooled run as a
 * mark of another shape and its band's width at its count; the axis then
 * reaches the largest of them.
 *
 * What the chart shows is handed out as its view, the points and the
 * scales' reach, so that it can be heard as well (sound.js) and read point
 * by point (points.js), as the same picture; the point being read is ringed
 * on it.
 *
 * The band narrows past π after about 114 million samples: from there on
 * the board's pixels, not chance, keep the estimate off π.  Once the axis
 * reaches that count the chart marks it, and its words and the picture's
 * say it; the scale, which keeps π in view, still tells π,
 * 3.1419 and a band narrower than their distance apart at 10^10 samples, and
 * labels as many of the axis's decades as there is room for.
 *
 * Sections: constants, the run, starting anew, scales, drawing, the class,
 * words, the view, start.
 */
"use strict";

(function () {
  const { board } = window.quorvel; // the program's own figures
  const share = board.inside / board.pixels;
  const settles = 4 * share; // 3.1419
  const twoErrors = 2 * 4 * Math.sqrt(share * (1 - share)); // 3.284: the band is this over √n
  const leaves = Math.ceil((twoErrors / Math.abs(Math.PI - settles)) ** 2); // π is outside the band from here
  const pointsPerDecade = 40;
  const drawEveryMs = 500; // each drawing costs the browser a few ms of putting it on screen
  const describeEveryMs = 500;
  const bandsInView = 2.5; // the band's half-width at the latest count, to the scale's
  const colours = {
    ground: "#000", grid: "#444", text: "#ddd", estimate: "#ff5a5a",
    pi: "#fff", settles: "#ffd54a", band: "rgba(80, 160, 255, 0.3)", edge: "#6fb0ff",
    run: "#8be28b", together: "#f08cff", leaves: "#ffa040",
  };

  const canvas = document.getElementById("chart");
  const words = document.getElementById("chart-reading");

  /* ---- the run ---- */

  const points = []; // [samples, inside, estimate], at most pointsPerDecade a decade
  let latest = null;
  let next = 1;
  let drawn = null; // what the canvas shows: the latest point, at its size
  let described = null;
  let cursor = null; // the point being read, [samples, estimate], ringed

  // The strip's numbers, as the page has read them from its texts.
  function take({ total, inside, estimate }) {
    latest = [total, inside, estimate];
    if (total < next)
      return;
    points.push(latest);
    next = Math.max(total + 1, Math.ceil(total * 10 ** (1 / pointsPerDecade)));
  }

  function halfWidth(samples) {
    return twoErrors / Math.sqrt(samples);
  }
  // Where the band leaves pi outside; and a run at its own count, within it.
  function outside(samples) {
    return samples >= leaves;
  }
  function within(samples, estimate) {
    return Math.abs(estimate - settles) <= halfWidth(Number(samples));
  }

  // The points as kept, and the latest, which the path ends at.
  function kept() {
    return latest === null || points[points.length - 1] === latest ? points.slice() : [...points, latest];
  }

  /* ---- starting anew ---- */

  // A new run of the program begins the chart anew; the class's runs are
  // not the program's, and stay.
  function restart() {
    points.length = 0;
    latest = null;
    next = 1;
    drawn = described = cursor = null;
    canvas.getContext("2d").clearRect(0, 0, canvas.width, canvas.height);
    words.textContent = window.quorvel.say("The chart begins with the first sample.");
  }

  /* ---- scales ---- */

  // 1, 2 or 5 times a power of ten, giving about five steps over span.
  function roundStep(span) {
    const raw = span / 5;
    const power = 10 ** Math.floor(Math.log10(raw));
    return [1, 2, 5, 10].map((m) => m * power).find((step) => step >= raw);
  }
  function decimalsFor(step) {
    return Math.max(0, -Math.floor(Math.log10(step) + 1e-9));
  }

  // The axis's decades, and the estimates from low to high in view.
  function reach() {
    const [total, , estimate] = latest;
    const decades = Math.max(1, Math.log10(farthest()));
    const most = Math.max(bandsInView * halfWidth(total), 1.25 * Math.abs(estimate - settles),
      1.5 * Math.abs(Math.PI - settles), classReach());
    return { decades, low: Math.max(0, settles - most), high: Math.min(4, settles + most) };
  }

  function scales(width, height, margin) {
    const { decades, low, high } = reach();
    return {
      decades, low, high,
      x: (n) => margin.left + (width - margin.left - margin.right) * Math.log10(n) / decades,
      y: (v) => margin.top + (height - margin.top - margin.bottom) * (high - v) / (high - low),
    };
  }

  /* ---- drawing ---- */

  function line(pen, from, to, colour, dashes) {
    pen.strokeStyle = colour;
    pen.setLineDash(dashes);
    pen.beginPath();
    pen.moveTo(...from);
    pen.lineTo(...to);
    pen.stroke();
  }

  /* The horizontal axis's name, on one line where it fits the canvas, else
   * on two, broken at the space that leaves the longer line shortest. */
  function axisName(pen, room) {
    // TRANSLATORS: the name under the chart's horizontal axis, whose lines stand at 1, 10, 100, 1,000 and
    // on: at most about 40 characters, as a phone's chart is 320 px wide (longer goes on two lines).
    const text = window.quorvel.say("number of samples (\u00d710 at each line)");
    const wide = (lines) => Math.max(...lines.map((l) => pen.measureText(l).width));
    if (wide([text]) <= room)
      return [text];
    const halves = [...text.matchAll(/ /g)].map(({ index }) => [text.slice(0, index), text.slice(index + 1)]);
    return halves.reduce((best, lines) => (wide(lines) < wide(best) ? lines : best), [text]);
  }

  // Text centred at x, or moved aside as far as the canvas's edges need.
  function centred(pen, text, x, y, edge) {
    const half = pen.measureText(text).width / 2;
    pen.fillText(text, Math.max(edge + half, Math.min(x, pen.canvas.width - edge - half)), y);
  }

  /* A line at every decade, and a label at every one, every other, or
   * fewer, as the widest label and the room between lines allow. */
  function axes(pen, s, box, unit, name) {
    pen.fillStyle = colours.text;
    pen.textAlign = "center";
    pen.textBaseline = "top";
    const labels = Array.from({ length: Math.floor(s.decades) + 1 }, (_, power) => window.quorvel.count(10 ** power));
    const widest = Math.max(...labels.map((label) => pen.measureText(label).width));
    const every = [1, 2, 3, 5, 10].find((k) => k * (s.x(10) - s.x(1)) >= widest + unit * 0.6) || 10;
    labels.forEach((label, power) => {
      const x = s.x(10 ** power);
      line(pen, [x, box.top], [x, box.bottom], colours.grid, []);
      if (power % every === 0)
        centred(pen, label, x, box.bottom + unit * 0.4, 0);
    });
    name.forEach((text, i) => centred(pen, text, (box.left + box.right) / 2, box.bottom + unit * (1.8 + i), unit / 2));
    const step = roundStep(s.high - s.low);
    pen.textAlign = "right";
    pen.textBaseline = "middle";
    for (let v = Math.ceil(s.low / step) * step; v <= s.high + step / 1e6; v += step) {
      line(pen, [box.left, s.y(v)], [box.right, s.y(v)], colours.grid, []);
      pen.fillText(window.quorvel.number(v, decimalsFor(step)), box.left - unit * 0.4, s.y(v));
    }
  }

  // The band from 1 to now, as a polygon along its two edges.
  function band(pen, s, total) {
    const steps = 100;
    const edge = (sign) => Array.from({ length: steps + 1 }, (_, i) => {
      const n = total ** (i / steps);
      return [s.x(n), s.y(settles + sign * halfWidth(n))];
    });
    const upper = edge(1);
    const lower = edge(-1);
    pen.fillStyle = colours.band;
    pen.beginPath();
    [...upper, ...lower.reverse()].forEach((p, i) => (i ? pen.lineTo(...p) : pen.moveTo(...p)));
    pen.fill();
    pen.strokeStyle = colours.edge;
    pen.setLineDash([]);
    for (const side of [upper, lower]) {
      pen.beginPath();
      side.forEach((p, i) => (i ? pen.lineTo(...p) : pen.moveTo(...p)));
      pen.stroke();
    }
  }

  function path(pen, s) {
    pen.strokeStyle = colours.estimate;
    pen.setLineDash([]);
    pen.lineWidth *= 1.5;
    pen.beginPath();
    kept().forEach(([n, , v], i) => (i ? pen.lineTo(s.x(n), s.y(v)) : pen.moveTo(s.x(n), s.y(v))));
    pen.stroke();
    pen.lineWidth /= 1.5;
  }

  /* What each line is, in words beside a sample of it, not by colour alone:
   * placed in rows across the top, as many as the width needs. */
  function keyPlaces(pen, left, right, unit) {
    const { say, number } = window.quorvel;
    const entries = [
      // TRANSLATORS: the chart's key, in rows over it, each entry beside a stroke of its line: a few
      // words, as a phone's chart is 320 px wide. This one names the red line of the estimate.
      [say("estimate"), colours.estimate, []],
      ["\u03c0", colours.pi, [unit * 0.8, unit * 0.4]],
      // TRANSLATORS: the chart's key: the yellow line at {settles}, 3.1419, where the estimate settles.
      // A few words, as a phone's chart is 320 px wide.
      [say("{settles}, where it settles", { settles: number(settles, 4) }), colours.settles, [unit * 0.15, unit * 0.3]],
      // TRANSLATORS: the chart's key: the blue band, within which about 95 runs in 100 lie at each
      // number of samples. A few words, as a phone's chart is 320 px wide.
      [say("band: about 95 runs in 100 land here"), colours.edge, []],
      ...classKey(),
      // TRANSLATORS: the chart's key: the upright orange line at the number of samples (about 114 million)
      // from which π lies outside the band. A few words, as a phone's chart is 320 px wide.
      ...(outside(farthest()) ? [[say("\u03c0 leaves the band"), colours.leaves, [], "upright"]] : []),
    ];
    let x = left;
    let row = 0;
    return entries.map(([label, colour, dashes, shape]) => {
      const wide = unit * 2.8 + pen.measureText(label).width;
      if (x > left && x + wide > right) {
        x = left;
        row++;
      }
      const place = { label, colour, dashes, shape, x, y: unit * (1 + 1.4 * row) };
      x += wide;
      return place;
    });
  }
  function key(pen, places, unit) {
    pen.textAlign = "left";
    pen.textBaseline = "middle";
    for (const { label, colour, dashes, shape, x, y } of places) {
      if (shape === "upright")
        line(pen, [x + unit * 0.8, y - unit * 0.5], [x + unit * 0.8, y + unit * 0.5], colour, dashes);
      else if (shape)
        mark(pen, shape, x + unit * 0.8, y, unit, colour);
      else
        line(pen, [x, y], [x + unit * 1.6, y], colour, dashes);
      pen.fillStyle = colours.text;
      pen.fillText(label, x + unit * 2, y);
    }
  }

  function draw() {
    if (latest === null || canvas.offsetParent === null)
      return;
    const ratio = window.devicePixelRatio || 1;
    const width = Math.round(canvas.clientWidth * ratio);
    const height = Math.round(canvas.clientHeight * ratio);
    if (drawn === latest && canvas.width === width && canvas.height === height)
      return;
    drawn = latest;
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
    }
    // The text's size: readable on a phone, not shouting on a projector.
    const unit = Math.max(14, Math.min(22, canvas.clientWidth / 36)) * ratio;
    const pen = canvas.getContext("2d");
    pen.font = `${unit * 0.8}px sans-serif`;
    pen.lineWidth = Math.max(1, ratio);
    const places = keyPlaces(pen, unit * 0.5, width, unit);
    const name = axisName(pen, width - unit);
    const margin = {
      left: unit * 4.5, right: unit, top: places[places.length - 1].y + unit * 1.2, bottom: unit * (2.2 + name.length),
    };
    const box = { left: margin.left, right: width - margin.right, top: margin.top, bottom: height - margin.bottom };
    const s = scales(width, height, margin);
    pen.fillStyle = colours.ground;
    pen.fillRect(0, 0, width, height);
    axes(pen, s, box, unit, name);
    key(pen, places, unit);
    pen.save();
    pen.beginPath();
    pen.rect(box.left, box.top, box.right - box.left, box.bottom - box.top);
    pen.clip();
    band(pen, s, farthest());
    line(pen, [box.left, s.y(Math.PI)], [box.right, s.y(Math.PI)], colours.pi, [unit * 0.8, unit * 0.4]);
    line(pen, [box.left, s.y(settles)], [box.right, s.y(settles)], colours.settles, [unit * 0.15, unit * 0.3]);
    if (outside(farthest()))
      line(pen, [s.x(leaves), box.top], [s.x(leaves), box.bottom], colours.leaves, []);
    path(pen, s);
    pen.restore();
    classMarks(pen, s, box, unit);
    if (cursor) {
      pen.lineWidth *= 2;
      mark(pen, "circle", s.x(cursor[0]), s.y(Math.max(s.low, Math.min(s.high, cursor[1]))), unit * 2, colours.text);
    }
  }

  /* ---- the class ---- */

  /* The class's runs as the panel hands them over: each run's samples and
   * estimate, the pooled run's too, with its band's half-width, and the
   * words that say them; or null while the class has none. */
  let klass = null;
  function takeClass(given) {
    klass = given && given.runs.length ? given : null;
    drawn = described = null;
  }

  function classFarthest() {
    return klass ? klass.together.samples : 0;
  }
  // Where the axis ends: this run's count, or the class's pooled one.
  function farthest() {
    return Math.max(latest === null ? 0 : latest[0], classFarthest());
  }
  function classReach() {
    return klass ? 1.1 * Math.max(...[...klass.runs, klass.together].map((r) => Math.abs(r.estimate - settles))) : 0;
  }
  function classKey() {
    const { say } = window.quorvel;
    // TRANSLATORS: more of the chart's key, and the name of rows in the downloaded CSV file: one
    // pupil's run, as the teacher typed it in. A few words, as a phone's chart is 320 px wide.
    return klass ? [[say("a pupil's run"), colours.run, [], "circle"],
      // TRANSLATORS: as above: the runs of all the pupils pooled into one. A few words, as a phone's
      // chart is 320 px wide.
      [say("the class together"), colours.together, [], "diamond"]] : [];
  }

  // A run, a ring; the pooled run, a filled diamond: told apart by shape
  // as well as colour.
  function mark(pen, shape, x, y, unit, colour) {
    pen.setLineDash([]);
    pen.beginPath();
    if (shape === "circle") {
      pen.strokeStyle = colour;
      pen.arc(x, y, unit * 0.3, 0, 2 * Math.PI);
      pen.stroke();
      return;
    }
    const size = unit * 0.45;
    pen.fillStyle = colour;
    pen.strokeStyle = colours.ground;
    const corners = [[x, y - size], [x + size, y], [x, y + size], [x - size, y]];
    corners.forEach((p, i) => (i ? pen.lineTo(...p) : pen.moveTo(...p)));
    pen.closePath();
    pen.fill();
    pen.stroke();
  }

  // Drawn over the frame's edge, so that a mark at the axis's end shows whole.
  function classMarks(pen, s, box, unit) {
    if (klass === null)
      return;
    for (const run of klass.runs)
      mark(pen, "circle", s.x(run.samples), s.y(run.estimate), unit, colours.run);
    const { samples, estimate, half } = klass.together;
    const x = s.x(samples);
    const top = Math.max(box.top, s.y(settles + half));
    const bottom = Math.min(box.bottom, s.y(settles - half));
    line(pen, [x, top], [x, bottom], colours.together, []);
    for (const y of [top, bottom])
      line(pen, [x - unit * 0.3, y], [x + unit * 0.3, y], colours.together, []);
    mark(pen, "diamond", x, s.y(estimate), unit, colours.together);
  }

  /* ---- words ---- */

  // As many decimals as the band's half-width needs to show two figures.
  function decimalsOf(half) {
    return Math.max(4, 1 - Math.floor(Math.log10(half)));
  }

  function describe() {
    if (latest === null || described === latest)
      return;
    described = latest;
    const { say, number } = window.quorvel;
    const [total, , estimate] = latest;
    const half = halfWidth(total);
    const decimals = decimalsOf(half);
    const values = {
      samples: number(total), estimate: number(estimate, decimals),
      distance: number(Math.abs(estimate - Math.PI), decimals), half: number(half, decimals),
      settles: number(settles, 4),
    };
    const run = estimate < Math.PI ?
      // TRANSLATORS: what a screen reader reads of the chart. {samples} is any number from 1 up: after
      // a colon, no word has to agree with it. {estimate}, {distance} and {half} have as many decimal
      // places as the band's width needs; {settles} is 3.1419, where the estimate settles.
      say("Samples taken: {samples}. The estimate is {estimate}, {distance} below \u03c0. At this number of " +
        "samples, about 95 runs in 100 are within \u00b1{half} of {settles}: that is the band.", values) :
      // TRANSLATORS: as above, for an estimate above π.
      say("Samples taken: {samples}. The estimate is {estimate}, {distance} above \u03c0. At this number of " +
        "samples, about 95 runs in 100 are within \u00b1{half} of {settles}: that is the band.", values);
    const left = outside(farthest()) ? [outsideWords()] : [];
    words.textContent = [run, ...left, ...(klass ? [klass.words] : [])].join(" ");
  }

  // Said here and in the picture's words once the samples, this run's or
  // the class's, are past where π leaves the band.
  function outsideWords() {
    const { say, number, count } = window.quorvel;
    // TRANSLATORS: what a screen reader reads of the picture and the chart once the band, narrowing as
    // the samples grow, has left π outside. {leaves} is about 114 million, written out in words
    // ("114 million"); {settles} is 3.1419.
    return say("From about {leaves} samples on, \u03c0 is outside the band: the estimate is finding the " +
      "board's {settles}, not \u03c0.", { leaves: count(leaves, true), settles: number(settles, 4) });
  }

  /* ---- the view ---- */

  // What the chart shows, for the ear and for reading point by point; null
  // before the first sample.
  function view() {
    return latest === null ? null :
      { points: kept(), ...reach(), klass: klass && { runs: klass.runs, together: klass.together } };
  }
  // The point being read, ringed on the chart at once; null for none.
  function ring(point) {
    cursor = point;
    drawn = null;
    draw();
  }

  /* ---- start ---- */

  setInterval(draw, drawEveryMs);
  setInterval(describe, describeEveryMs);
  window.quorvel = Object.assign(window.quorvel || {}, {
    chart: take, chartRestart: restart, chartKept: kept, chartClass: takeClass, chartView: view, chartRing: ring,
    band: { centre: settles, half: halfWidth, decimals: decimalsOf, outside, within, outsideWords },
  });
})();
