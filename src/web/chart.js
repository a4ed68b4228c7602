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
 * It keeps a point only where the samples have grown by a fortieth of a
 * decade, so at most some 400 points however long the page runs.  The
 * vertical scale follows the band at the latest count, so a day in the band
 * is as readable as its first second.  Drawn by hand on a canvas, a few
 * times a second, at the screen's own pixels; its words for screen readers
 * follow twice a second and are never announced.
 *
 * Sections: constants, the run, scales, drawing, words, start.
 */
"use strict";

(function () {
  const { board } = window.quorvel; // the program's own figures
  const share = board.inside / board.pixels;
  const settles = 4 * share; // 3.1419
  const twoErrors = 2 * 4 * Math.sqrt(share * (1 - share)); // 3.284: the band is this over √n
  const pointsPerDecade = 40;
  const drawEveryMs = 250;
  const describeEveryMs = 500;
  const bandsInView = 2.5; // the band's half-width at the latest count, to the scale's
  const colours = {
    ground: "#000", grid: "#444", text: "#ddd", estimate: "#ff5a5a",
    pi: "#fff", settles: "#ffd54a", band: "rgba(80, 160, 255, 0.3)", edge: "#6fb0ff",
  };

  const canvas = document.getElementById("chart");
  const words = document.getElementById("chart-reading");

  /* ---- the run ---- */

  const points = []; // [samples, estimate], at most pointsPerDecade a decade
  let latest = null;
  let next = 1;

  function take(estimate, tally) {
    const total = Number(tally.slice(tally.indexOf("/") + 1));
    latest = [total, Number(estimate)];
    if (total < next)
      return;
    points.push(latest);
    next = Math.max(total + 1, Math.ceil(total * 10 ** (1 / pointsPerDecade)));
  }

  function halfWidth(samples) {
    return twoErrors / Math.sqrt(samples);
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

  function scales(width, height, margin) {
    const [total, estimate] = latest;
    const decades = Math.max(1, Math.log10(total));
    const reach = Math.max(bandsInView * halfWidth(total), 1.25 * Math.abs(estimate - settles),
      1.5 * Math.abs(Math.PI - settles));
    const low = Math.max(0, settles - reach);
    const high = Math.min(4, settles + reach);
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

  function axes(pen, s, box, unit) {
    pen.fillStyle = colours.text;
    pen.textAlign = "center";
    pen.textBaseline = "top";
    for (let power = 0; power <= Math.floor(s.decades); power++) {
      const x = s.x(10 ** power);
      line(pen, [x, box.top], [x, box.bottom], colours.grid, []);
      pen.fillText(window.quorvel.count(10 ** power), x, box.bottom + unit * 0.4);
    }
    pen.fillText(window.quorvel.say("samples taken (each mark ten times the last)"), (box.left + box.right) / 2,
      box.bottom + unit * 1.8);
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
    [...points, latest].forEach(([n, v], i) => (i ? pen.lineTo(s.x(n), s.y(v)) : pen.moveTo(s.x(n), s.y(v))));
    pen.stroke();
    pen.lineWidth /= 1.5;
  }

  /* What each line is, in words beside a sample of it, not by colour alone:
   * placed in rows across the top, as many as the width needs. */
  function keyPlaces(pen, left, right, unit) {
    const { say, number } = window.quorvel;
    const entries = [
      [say("estimate"), colours.estimate, []],
      ["\u03c0", colours.pi, [unit * 0.8, unit * 0.4]],
      [say("{settles}, where it settles", { settles: number(settles, 4) }), colours.settles, [unit * 0.15, unit * 0.3]],
      [say("95 in 100 stay inside"), colours.edge, []],
    ];
    let x = left;
    let row = 0;
    return entries.map(([label, colour, dashes]) => {
      const wide = unit * 2.8 + pen.measureText(label).width;
      if (x > left && x + wide > right) {
        x = left;
        row++;
      }
      const place = { label, colour, dashes, x, y: unit * (1 + 1.4 * row) };
      x += wide;
      return place;
    });
  }
  function key(pen, places, unit) {
    pen.textAlign = "left";
    pen.textBaseline = "middle";
    for (const { label, colour, dashes, x, y } of places) {
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
    const margin = { left: unit * 4.5, right: unit, top: places[places.length - 1].y + unit * 1.2, bottom: unit * 3.2 };
    const box = { left: margin.left, right: width - margin.right, top: margin.top, bottom: height - margin.bottom };
    const s = scales(width, height, margin);
    pen.fillStyle = colours.ground;
    pen.fillRect(0, 0, width, height);
    axes(pen, s, box, unit);
    key(pen, places, unit);
    pen.save();
    pen.beginPath();
    pen.rect(box.left, box.top, box.right - box.left, box.bottom - box.top);
    pen.clip();
    band(pen, s, latest[0]);
    line(pen, [box.left, s.y(Math.PI)], [box.right, s.y(Math.PI)], colours.pi, [unit * 0.8, unit * 0.4]);
    line(pen, [box.left, s.y(settles)], [box.right, s.y(settles)], colours.settles, [unit * 0.15, unit * 0.3]);
    path(pen, s);
    pen.restore();
  }

  /* ---- words ---- */

  // As many decimals as the band's half-width needs to show two figures.
  function describe() {
    if (latest === null)
      return;
    const { say, number } = window.quorvel;
    const [total, estimate] = latest;
    const half = halfWidth(total);
    const decimals = Math.max(4, 1 - Math.floor(Math.log10(half)));
    const values = {
      samples: number(total), estimate: number(estimate, decimals),
      distance: number(Math.abs(estimate - Math.PI), decimals), half: number(half, decimals), settles: number(settles, 4),
    };
    words.textContent = estimate < Math.PI ?
      say("After {samples} samples the estimate is {estimate}, {distance} below \u03c0; at this count it stays " +
        "within \u00b1{half} of {settles} about 95 times in 100.", values) :
      say("After {samples} samples the estimate is {estimate}, {distance} above \u03c0; at this count it stays " +
        "within \u00b1{half} of {settles} about 95 times in 100.", values);
  }

  /* ---- start ---- */

  setInterval(draw, drawEveryMs);
  setInterval(describe, describeEveryMs);
  window.quorvel = Object.assign(window.quorvel || {}, { chart: take });
})();
