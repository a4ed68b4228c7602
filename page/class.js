// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* The class's experiment: each pupil's run, read out as its tally and typed
 * in by the teacher, set against the chart's band at its own count, and all
 * of them pooled into one run.  The band says about 95 runs in 100 stay
 * within it; thirty runs show it, and together they are worth one run thirty
 * times as long, whose band is √30 times narrower.  Nothing leaves the
 * page: the entries are kept in the browser's storage, and downloaded, with
 * this run's path, as one CSV file.
 *
 * The field holds the text as typed and is the only record: each change
 * reads all of it anew, so nothing typed is rewritten or lost, an entry
 * that is no tally is named under the field with its reason while the good
 * ones count, and the entry still being typed at the field's end waits to
 * be judged until the teacher moves on.  A tally is read exactly, as a
 * BigInt: the program counts in 64 bits, so a total above 2^64 − 1 cannot
 * be one of its tallies.
 *
 * Screen readers hear the panel only when the teacher acts, and only what
 * came of it: the runs a paste gave, the field cleared.  Its voice exists
 * while the panel is open.
 *
 * Sections: constants, the entries, the words, the panel, keeping, the file,
 * start.
 */
"use strict";

(function () {
  const most = 2n ** 64n - 1n; // the program's tally is a 64-bit counter
  const storeKey = "quorvel: the class's runs";
  const problemsNamed = 20; // the rest are counted, so a pasted essay stays readable
  const longestQuoted = 24;

  const { say, number } = window.quorvel;
  const band = window.quorvel.band;
  const toggle = document.getElementById("class-results");
  const panel = document.getElementById("class");
  const field = document.getElementById("class-entries");
  const problems = document.getElementById("class-problems");
  const summary = document.getElementById("class-summary");
  const keptNote = document.getElementById("class-kept");
  const clear = document.getElementById("class-clear");
  const confirm = document.getElementById("class-confirm");
  const voice = document.getElementById("class-said");

  /* ---- the entries ---- */

  // "7853 / 10000", as it may be typed when read out, is one entry; a
  // slash at a line's end is not joined to the next line.
  function entries(text) {
    return (text.match(/(?:[^\s,;/]|[ \t]*\/[ \t]*)+/g) || []).map((entry) => entry.trim());
  }

  /* The strip never writes a number with a leading 0: where one comes, a
   * number was most likely split where it was grouped ("1 000/2 000"), and
   * its halves must not count as runs. */
  function judge(entry) {
    const found = /^(\d+)[ \t]*\/[ \t]*(\d+)$/.exec(entry);
    if (!found)
      return { problem: "form" };
    if (/^0\d/.test(found[1]) || /^0\d/.test(found[2]))
      return { problem: "zero first" };
    const [inside, total] = [BigInt(found[1]), BigInt(found[2])];
    if (inside > most || total > most)
      return { problem: "reach" };
    if (total === 0n)
      return { problem: "zero" };
    if (inside > total)
      return { problem: "more" };
    return { inside, total, ...judged(inside, total) };
  }
  function judged(inside, total) {
    const samples = Number(total);
    const estimate = 4 * Number(inside) / samples;
    return { samples, estimate, within: Math.abs(estimate - band.centre) <= band.half(samples) };
  }

  /* Every entry, judged; the last one waits while it is being typed: the
   * caret at the field's end and no separator after it yet. */
  function read(pasted) {
    const all = entries(field.value);
    const typing = !pasted && document.activeElement === field && field.selectionEnd === field.value.length &&
      !/[\s,;]$/.test(field.value);
    const judgedAll = (typing ? all.slice(0, -1) : all).map((entry, i) => ({ entry, place: i + 1, ...judge(entry) }));
    const runs = judgedAll.filter((r) => !r.problem);
    const bad = judgedAll.filter((r) => r.problem);
    if (runs.length === 0)
      return { runs, bad, together: null };
    const inside = runs.reduce((sum, r) => sum + r.inside, 0n);
    const total = runs.reduce((sum, r) => sum + r.total, 0n);
    const together = { inside, total, ...judged(inside, total) };
    together.half = band.half(together.samples);
    return { runs, bad, together };
  }

  /* ---- the words ---- */

  function quoted(entry) {
    return entry.length > longestQuoted ? entry.slice(0, longestQuoted - 1) + "\u2026" : entry;
  }
  function why({ problem, place, entry }) {
    const values = { place: number(place), entry: quoted(entry), most: number(most) };
    const reasons = {
      // TRANSLATORS: why the class's panel does not take an entry, in a list under the field: {place}
      // is the entry's place in the field (1 for the first), {entry} the text typed, in your quotation marks.
      form: () => say("Entry {place}, \u201c{entry}\u201d: not two whole numbers written as inside/total.", values),
      // TRANSLATORS: as above; the strip under the picture writes 1000 as 1000, never 1 000 or 1,000.
      "zero first": () => say("Entry {place}, \u201c{entry}\u201d: a number starts with 0, which the strip never " +
        "shows. Was one number split in two by a space or a comma?", values),
      // TRANSLATORS: as above; {most} is the largest count Quorvel keeps, 18,446,744,073,709,551,615.
      reach: () => say("Entry {place}, \u201c{entry}\u201d: a number larger than Quorvel can count (at most " +
        "{most}).", values),
      // TRANSLATORS: as above.
      zero: () => say("Entry {place}, \u201c{entry}\u201d: a total of 0 samples gives no estimate.", values),
      // TRANSLATORS: as above.
      more: () => say("Entry {place}, \u201c{entry}\u201d: more samples inside than in total.", values),
    };
    return reasons[problem]();
  }

  // The runs against the band, and the pooled run, as the chart says them too.
  function told({ runs, together }) {
    if (runs.length === 0)
      return "";
    const within = runs.filter((r) => r.within).length;
    // TRANSLATORS: in the class's panel and the chart's words: how many of the pupils' runs lie within
    // the band at their own number of samples. {within} of {runs}, any numbers from 0 and 1 up: after
    // a colon, no word has to agree with them.
    const first = say("Runs of the class within the band for their number of samples: {within} of {runs}, " +
      "where about 95 in 100 should be.", { runs: number(runs.length), within: number(within) });
    const decimals = band.decimals(together.half);
    const values = {
      samples: number(together.total), estimate: number(together.estimate, decimals),
      distance: number(Math.abs(together.estimate - Math.PI), decimals), half: number(together.half, decimals),
    };
    const second = together.estimate < Math.PI ?
      // TRANSLATORS: after the words above: the pupils' runs pooled into one, its estimate, its distance
      // from π, its samples in all (any number from 1 up, after a colon) and the band's half-width there.
      say("The class together gives {estimate}, {distance} below \u03c0. Samples in all: {samples}; for that " +
        "many, the band is \u00b1{half}.", values) :
      // TRANSLATORS: as above, for an estimate above π.
      say("The class together gives {estimate}, {distance} above \u03c0. Samples in all: {samples}; for that " +
        "many, the band is \u00b1{half}.", values);
    return `${first} ${second}`;
  }
  function notTaken(bad) {
    // TRANSLATORS: above the list of the entries not taken; {count} is 1 or more.
    return say("Entries not taken: {count}.", { count: number(bad.length) });
  }

  /* ---- the panel ---- */

  let latest = null;

  // The bad entries are the field's description, so that a screen reader
  // hears them from it; with none, the description is empty.
  function show(pasted) {
    latest = read(pasted);
    const { runs, bad, together } = latest;
    const words = told(latest);
    problems.replaceChildren();
    if (bad.length) {
      const list = document.createElement("ul");
      for (const r of bad.slice(0, problemsNamed))
        list.appendChild(document.createElement("li")).textContent = why(r);
      if (bad.length > problemsNamed)
        list.appendChild(document.createElement("li")).textContent =
          // TRANSLATORS: the list's last line, after the first twenty entries not taken; {count} is 1 or more.
          say("Further entries not taken: {count}.", { count: number(bad.length - problemsNamed) });
      problems.append(notTaken(bad), list);
    }
    field.setAttribute("aria-invalid", String(bad.length > 0));
    // TRANSLATORS: in the class's panel, while no pupil's run is typed in.
    summary.textContent = words || say("No runs yet.");
    clear.disabled = field.value === "";
    window.quorvel.chartClass(runs.length ? {
      runs: runs.map(({ samples, estimate }) => ({ samples, estimate })),
      together: { samples: together.samples, estimate: together.estimate, half: together.half }, words,
    } : null);
    return bad.length ? `${notTaken(bad)} ${summary.textContent}` : summary.textContent;
  }

  function tell(text) {
    voice.textContent = text;
  }

  function openPanel(open) {
    panel.hidden = !open;
    toggle.setAttribute("aria-expanded", String(open));
    document.getElementById("stage").classList.toggle("with-class", open);
    if (open) {
      voice.setAttribute("role", "status");
      field.focus();
    } else {
      voice.removeAttribute("role");
      voice.textContent = "";
    }
  }

  function changed(event) {
    const pasted = event.inputType === "insertFromPaste";
    keep(field.value);
    const said = show(pasted);
    if (pasted)
      tell(said);
  }

  function askToClear(ask) {
    confirm.hidden = !ask;
    clear.hidden = ask;
    (ask ? document.getElementById("class-keep") : clear).focus();
  }
  function clearAll() {
    field.value = "";
    keep("");
    show(false);
    confirm.hidden = true;
    clear.hidden = false;
    field.focus();
    // TRANSLATORS: what a screen reader says once the teacher has cleared the class's panel.
    tell(say("Every entry is cleared."));
  }

  /* ---- keeping ---- */

  /* The browser's own storage, for this page's address: served, from disk
   * and the one file alike.  Some browsers refuse it, in settings or in a
   * frame of another site, and any may be full: the panel then says so. */
  let store = null;
  try {
    store = window.localStorage;
    store.setItem(storeKey + "?", "");
    store.removeItem(storeKey + "?");
  } catch {
    store = null;
  }
  function keep(text) {
    try {
      if (text)
        store.setItem(storeKey, text);
      else
        store.removeItem(storeKey);
    } catch {
      keptNote.hidden = false;
    }
  }

  /* ---- the file ---- */

  // RFC 4180: commas, CRLF, a field quoted where it holds a comma, a quote
  // or a line break; numbers with dot decimals, as a spreadsheet reads them.
  function csvField(value) {
    const text = String(value);
    return /[",\r\n]/.test(text) ? `"${text.replace(/"/g, '""')}"` : text;
  }
  function row(what, samples, inside, estimate) {
    const n = Number(samples);
    const half = band.half(n);
    const within = Math.abs(estimate - band.centre) <= half;
    return [what, samples, inside, estimate, band.centre - half, band.centre + half, within ? 1 : 0];
  }
  function csv() {
    const { runs, together } = latest;
    const rows = [[
      // TRANSLATORS: the first of the column headings of the downloaded CSV file, which a spreadsheet
      // opens: which run a row is of.
      say("run"),
      // TRANSLATORS: a CSV column heading: the run's samples so far.
      say("samples"),
      // TRANSLATORS: a CSV column heading: the run's samples inside the circle.
      say("inside"),
      // TRANSLATORS: a CSV column heading: the run's estimate of π.
      say("estimate"),
      // TRANSLATORS: CSV column headings: the band's edges at the run's number of samples.
      say("band's low edge"), say("band's high edge"),
      // TRANSLATORS: a CSV column heading: 1 where the run lies within the band, 0 where it does not.
      say("within the band (1 yes, 0 no)"),
    ]];
    for (const [samples, inside, estimate] of window.quorvel.chartKept())
      // TRANSLATORS: in the downloaded CSV file, the name of the rows of this page's own run.
      rows.push(row(say("this run"), samples, inside, estimate));
    for (const r of runs)
      rows.push(row(say("a pupil's run"), r.total, r.inside, r.estimate));
    if (together)
      rows.push(row(say("the class together"), together.total, together.inside, together.estimate));
    return rows.map((fields) => fields.map(csvField).join(",") + "\r\n").join("");
  }

  /* A file made in the page and handed to the browser as a download: no
   * fetch, so the one file's policy, which lets nothing in, lets it out.
   * The mark ahead tells spreadsheets that it is UTF-8.  The address of the
   * last file is let go when the next is made. */
  let address = null;
  function download() {
    const today = new Date();
    const date = [today.getFullYear(), today.getMonth() + 1, today.getDate()].map((n) => String(n).padStart(2, "0"));
    if (address)
      URL.revokeObjectURL(address);
    address = URL.createObjectURL(new Blob(["\ufeff" + csv()], { type: "text/csv;charset=utf-8" }));
    const link = document.createElement("a");
    link.href = address;
    link.download = `quorvel-${date.join("-")}.csv`;
    link.hidden = true;
    document.body.appendChild(link);
    link.click();
    link.remove();
  }

  /* ---- start ---- */

  if (store === null)
    keptNote.hidden = false;
  else
    field.value = store.getItem(storeKey) || "";
  show(false);
  toggle.addEventListener("click", () => openPanel(panel.hidden));
  panel.addEventListener("submit", (event) => event.preventDefault());
  field.addEventListener("input", changed);
  field.addEventListener("blur", () => show(false));
  document.getElementById("class-download").addEventListener("click", download);
  clear.addEventListener("click", () => askToClear(true));
  document.getElementById("class-keep").addEventListener("click", () => askToClear(false));
  document.getElementById("class-clear-all").addEventListener("click", clearAll);
})();
