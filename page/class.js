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
 * be judged until the teacher moves on.  Numbers may be grouped as the page
 * itself writes them, in English or the reader's language ("157,180",
 * "157 180", "157.180" in German); where a comma or a space could group
 * digits or separate entries, the one way of reading that makes every entry
 * a tally is taken; where there are two, nothing of that text counts, and
 * where there is none, only pieces that are each shaped as a tally of their
 * own: a piece of a split number must never pass for a run.  A
 * tally is read exactly, as a BigInt, but only once its digits fit the
 * program's 64-bit counter (at most 2^64 − 1), so that a pasted wall of
 * digits costs no more to read than its length; reading is linear in the
 * text, whatever is typed.
 *
 * Screen readers hear the panel only when the teacher acts, and only what
 * came of it: the runs a paste gave, the field cleared.  Its voice exists
 * while the panel is open.
 *
 * Tabs of the page (the projector's and the teacher's) share the one list
 * through the browser's storage: each takes the other's change at once,
 * with what it had typed itself in the meantime put back, so that neither
 * loses the other's entries.  The file is written the way the reader's
 * spreadsheet opens it with a double click.
 *
 * Sections: constants, the entries, the words, the panel, keeping, the file,
 * start.
 */
"use strict";

(function () {
  const most = 2n ** 64n - 1n; // the program's tally is a 64-bit counter
  const mostDigits = String(most).length;
  const mostGroups = 7; // of three digits, as 18,446,744,073,709,551,615 has
  const mostPieces = 2 * mostGroups; // of one entry, split at every mark
  const longestEntry = 96; // characters of one entry read across marks, spaces included
  const oneWayAnd = "; "; // between the entries of one way of reading a text
  const storeKey = "quorvel: the class's runs";
  const problemsNamed = 20; // the rest are counted, so a pasted essay stays readable
  const longestQuoted = 24;
  const quietElsewhereMs = 1500; // another tab's last entry may still be being typed until then

  const { say, number, lang } = window.quorvel;
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

  // Digits may be grouped with a comma, a space or a no-break one, as in
  // English, or with the reader's language's own mark (a point in German).
  const ownMark = new Intl.NumberFormat(lang).formatToParts(1e6).find((part) => part.type === "group");
  const marks = new Set([",", " ", "\u00a0", "\u202f", ...(ownMark ? [ownMark.value] : [])]);

  // What separates pieces: a comma, a semicolon, any space or line break
  // (what \s matches); and the spaces that a slash takes into its piece.
  function separates(c) {
    return c === 44 || c === 59 || c === 32 || (c >= 9 && c <= 13) || c === 0xa0 || c === 0x1680 ||
      (c >= 0x2000 && c <= 0x200a) || c === 0x2028 || c === 0x2029 || c === 0x202f || c === 0x205f ||
      c === 0x3000 || c === 0xfeff;
  }
  const slash = 47;
  function nextToSlash(c) {
    return c === 32 || c === 9 || c === 0xa0 || c === 0x202f;
  }

  function isDigit(c) {
    return c >= "0" && c <= "9";
  }
  // The digits that end (or begin) a text, counted as far as four.
  function digitsAtEnd(text) {
    let n = 0;
    while (n < 4 && n < text.length && isDigit(text[text.length - 1 - n]))
      n++;
    return n;
  }
  function digitsAtStart(text) {
    let n = 0;
    while (n < 4 && n < text.length && isDigit(text[n]))
      n++;
    return n;
  }

  /* A single mark between two digits may group them or separate two
   * entries: the pieces on either side are read together where the digits
   * could be a group of three, or where one side is a bare number, which is
   * no tally by itself ("3,5/10" written with a decimal comma). */
  function joinable(before, gap, after) {
    const left = digitsAtEnd(before);
    const right = digitsAtStart(after);
    if (gap.length !== 1 || !marks.has(gap) || left === 0 || right === 0)
      return false;
    return (left <= 3 && right === 3) || !before.includes("/") || !after.includes("/");
  }

  /* The text's pieces, where each begins and ends, with its slashes
   * counted: "7853 / 10000", as it may be typed when read out, is one; a
   * slash at a line's end is not joined to the next line.  One pass over
   * the text, char by char, as a pasted wall of text must cost no more. */
  function pieces(text) {
    const found = [];
    let from = -1;
    let slashes = 0;
    const spaces = (i) => {
      while (i < text.length && nextToSlash(text.charCodeAt(i)))
        i++;
      return i;
    };
    for (let i = 0; i < text.length;) {
      const c = text.charCodeAt(i);
      if (c !== slash && !separates(c)) {
        from = from < 0 ? i : from;
        i++;
        continue;
      }
      const after = spaces(i);
      if (text.charCodeAt(after) === slash) {
        from = from < 0 ? i : from;
        slashes++;
        i = spaces(after + 1);
        continue;
      }
      if (from >= 0)
        found.push({ from, to: i, slashes });
      from = -1;
      slashes = 0;
      i = Math.max(after, i + 1);
    }
    if (from >= 0)
      found.push({ from, to: text.length, slashes });
    return found;
  }

  // The text's pieces, in chunks of those that may be read together.
  function chunks(text) {
    const found = [];
    let last = null;
    for (const { from, to, slashes } of pieces(text)) {
      const piece = text.slice(from, to).trim();
      const chunk = found[found.length - 1];
      const gap = last === null ? "" : text.slice(last, from);
      if (chunk && joinable(chunk.pieces[chunk.pieces.length - 1], gap, piece)) {
        chunk.gaps.push(gap);
        chunk.pieces.push(piece);
        chunk.slashes.push(slashes);
      } else {
        found.push({ pieces: [piece], gaps: [], slashes: [slashes] });
      }
      last = to;
    }
    return found;
  }

  /* A number's digits, or what is wrong with it: grouped by one mark in
   * threes, or not at all.  Its size is judged by its digits alone, before
   * any arithmetic.  The strip never writes a number with a leading 0:
   * where one comes, a number was most likely split where it was grouped,
   * and its halves must not count as runs. */
  function digits(text) {
    let plain = text;
    if (!/^\d+$/.test(text)) {
      const grouped = /^\d{1,3}(\D)\d{3}(?:\1\d{3})*$/.exec(text);
      if (!grouped || !marks.has(grouped[1]))
        return { problem: "form" };
      plain = text.split(grouped[1]).join("");
    }
    if (/^0\d/.test(plain))
      return { problem: "zero first" };
    if (plain.length > mostDigits || (plain.length === mostDigits && plain > String(most)))
      return { problem: "reach" };
    return { plain };
  }

  function judge(entry) {
    const halves = entry.split("/");
    if (halves.length !== 2)
      return { problem: "form" };
    const numbers = halves.map((half) => digits(half.trim()));
    for (const problem of ["form", "zero first", "reach"])
      if (numbers.some((n) => n.problem === problem))
        return { problem };
    const [inside, total] = numbers.map((n) => BigInt(n.plain));
    if (total === 0n)
      return { problem: "zero" };
    if (inside > total)
      return { problem: "more" };
    return { inside, total, ...judged(inside, total) };
  }
  function judged(inside, total) {
    const samples = Number(total);
    const estimate = 4 * Number(inside) / samples;
    return { samples, estimate, within: band.within(samples, estimate) };
  }

  function joined({ pieces, gaps }, from, to) {
    let text = pieces[from];
    for (let i = from + 1; i < to; i++)
      text += gaps[i - 1] + pieces[i];
    return text;
  }

  /* The ways to read a chunk's pieces as a list of whole tallies, counted
   * as far as two, from the last piece back: ways[i] for the pieces from i
   * on, and firsts[i] the first entries that lead to one.  An entry spans a
   * few pieces at most, so the work grows with the text's length alone. */
  function readings(chunk) {
    const n = chunk.pieces.length;
    if (!chunk.slashes.some(Boolean))
      return [];
    const ways = new Array(n + 1).fill(0);
    const firsts = [];
    ways[n] = 1;
    for (let i = n - 1; i >= 0; i--) {
      firsts[i] = null;
      let size = 0;
      let slashes = 0;
      for (let j = i; j < n && j - i < mostPieces; j++) {
        size += chunk.pieces[j].length;
        slashes += chunk.slashes[j];
        if (size > longestEntry || slashes > 1)
          break;
        if (slashes === 0 || ways[j + 1] === 0)
          continue;
        const entry = joined(chunk, i, j + 1);
        if (judge(entry).problem)
          continue;
        (firsts[i] = firsts[i] || []).push([j + 1, entry]);
        ways[i] = Math.min(2, ways[i] + ways[j + 1]);
      }
    }
    const along = (from, take) => {
      const found = [];
      for (let i = from, t = take; i < n; t = 0) {
        found.push(firsts[i][t][1]);
        i = firsts[i][t][0];
      }
      return found;
    };
    if (ways[0] < 2)
      return ways[0] ? [along(0, 0)] : [];
    // The second way parts from the first where it first can.
    const before = [];
    let i = 0;
    while (firsts[i].length === 1) {
      before.push(firsts[i][0][1]);
      i = firsts[i][0][0];
    }
    return [along(0, 0), [...before, ...along(i, 1)]];
  }

  /* A chunk's entries, each judged: its one way of reading; with none,
   * the pieces one by one where each is shaped as a tally of its own, else
   * the whole as one entry; with two, the whole, named with both. */
  function chunkEntries(chunk) {
    if (chunk.pieces.length === 1)
      return [{ entry: chunk.pieces[0], ...judge(chunk.pieces[0]) }];
    const ways = readings(chunk);
    if (ways.length === 1)
      return ways[0].map((entry) => ({ entry, ...judge(entry) }));
    const whole = joined(chunk, 0, chunk.pieces.length);
    if (ways.length === 2)
      return [{ entry: whole, problem: "ways", ways: ways.map((way) => way.map(plainly).join(oneWayAnd)) }];
    if (chunk.pieces.every((piece, i) => chunk.slashes[i] === 1 && /^[^/].*[^/]$/.test(piece)))
      return chunk.pieces.map((entry) => ({ entry, ...judge(entry) }));
    return [{ entry: whole, ...judge(whole) }];
  }
  // An entry as the strip writes it, with no marks in its numbers.
  function plainly(entry) {
    const { inside, total } = judge(entry);
    return `${inside}/${total}`;
  }

  /* Every entry, judged; the last chunk waits while it is being typed: the
   * caret at the field's end, or another tab's keys arriving, and no
   * separator after it yet, or only one mark after a digit, which may be
   * the start of a group. */
  function read(pasted) {
    const text = field.value;
    const all = chunks(text);
    const tail = text.slice(-2);
    const open = tail === "" || !/[\s,;]$/.test(tail) || /^\d[, \u00a0\u202f]$/.test(tail);
    const here = document.activeElement === field && field.selectionEnd === text.length;
    const typing = !pasted && open && (here || typedElsewhere !== 0);
    const judgedAll = (typing ? all.slice(0, -1) : all).flatMap(chunkEntries)
      .map((r, i) => ({ place: i + 1, ...r }));
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
  function why({ problem, place, entry, ways }) {
    const values = { place: number(place), entry: quoted(entry), most: number(most) };
    if (ways)
      [values.one, values.other] = ways;
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
      // TRANSLATORS: as above, for a text whose commas or spaces could group digits or part entries, so
      // that it reads as two lists of entries, {one} and {other}, such as 1/2; 300400/500600.
      ways: () => say("Entry {place}, \u201c{entry}\u201d: it can be read as {one} or as {other}, so none of it " +
        "counts. Put each entry on a line of its own.", values),
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
   * frame of another site, and any may be full: the panel then says so,
   * for as long as it is so.  A text as long as one it refused is not tried
   * again until another tab changes what is kept, as writing a pasted wall
   * of text only to be refused would cost every keystroke after it. */
  let store = null;
  let refused = Infinity; // the length of the shortest text refused
  let typedElsewhere = 0; // the wait for another tab's keys to stop
  try {
    store = window.localStorage;
    store.setItem(storeKey + "?", "");
    store.removeItem(storeKey + "?");
  } catch {
    store = null;
  }
  function keep(text) {
    if (store === null)
      return;
    try {
      if (text.length >= refused)
        throw new RangeError("refused before");
      if (text)
        store.setItem(storeKey, text);
      else
        store.removeItem(storeKey);
      keptNote.hidden = true;
    } catch {
      refused = Math.min(refused, text.length);
      keptNote.hidden = false;
    }
  }

  function lines(text) {
    return text === "" ? [] : text.split("\n");
  }
  function counts(list) {
    const found = new Map();
    for (const line of list)
      found.set(line, (found.get(line) || 0) + 1);
    return found;
  }

  /* Another tab changed the list from before to after.  Where this tab's
   * text is not before, it changed the list too, in the moment before it
   * heard: the lines it took out go from after, and those it added are put
   * back, unless the other tab has them already. */
  function merged(before, mine, after) {
    if (mine === before || mine === after)
      return after;
    const [had, has] = [counts(lines(before)), counts(lines(mine))];
    const result = lines(after);
    for (const [line, n] of had)
      for (let gone = n - (has.get(line) || 0), i = result.length - 1; gone > 0 && i >= 0; i--)
        if (result[i] === line) {
          result.splice(i, 1);
          gone--;
        }
    const theirs = counts(lines(after));
    for (const line of lines(mine)) {
      const added = (has.get(line) || 0) - (had.get(line) || 0);
      const already = (theirs.get(line) || 0) - (had.get(line) || 0);
      if (added > 0 && already < added) {
        result.push(line);
        has.set(line, has.get(line) - 1);
      }
    }
    return result.join("\n");
  }

  // The caret stays as far from the text's end as it was.
  function replace(text) {
    const fromEnd = field.value.length - field.selectionEnd;
    const focused = document.activeElement === field;
    field.value = text;
    if (focused)
      field.setSelectionRange(Math.max(0, text.length - fromEnd), Math.max(0, text.length - fromEnd));
  }

  /* A change of the list in another tab of the page (null: all cleared).
   * Each key typed there arrives, so its last entry waits for a quiet
   * moment rather than showing as a run or a fault at every key. */
  function changedElsewhere(event) {
    if (event.storageArea !== store || (event.key !== null && event.key !== storeKey))
      return;
    const after = event.newValue || "";
    const text = merged(event.oldValue || "", field.value, after);
    refused = Infinity;
    if (text !== field.value)
      replace(text);
    if (text !== after)
      keep(text);
    clearTimeout(typedElsewhere);
    typedElsewhere = setTimeout(() => {
      typedElsewhere = 0;
      show(false);
    }, quietElsewhereMs);
    show(false);
  }

  /* ---- the file ---- */

  /* RFC 4180: CRLF, a field quoted where it holds the separator, a quote
   * or a line break.  Separated as the reader's spreadsheet expects when
   * the file is opened with a double click: where the language writes
   * decimal commas, semicolons and decimal commas, as Excel and LibreOffice
   * take them under such a language; else commas and points. */
  const decimalComma = number(0.5, 1).includes(",");
  const separator = decimalComma ? ";" : ",";
  function csvField(value) {
    const text = typeof value === "number" && decimalComma ? String(value).replace(".", ",") : String(value);
    return text.includes(separator) || /["\r\n]/.test(text) ? `"${text.replace(/"/g, '""')}"` : text;
  }
  function row(what, samples, inside, estimate) {
    const n = Number(samples);
    const half = band.half(n);
    return [what, samples, inside, estimate, band.centre - half, band.centre + half, band.within(n, estimate) ? 1 : 0];
  }
  /* The file's heading and rows, as values: this run's path, each pupil's
   * run and the class together, each against the band at its count.  The
   * chart's table (points.js) shows the same. */
  function numbers() {
    const { runs, together } = latest;
    const head = [
      // TRANSLATORS: the first of the column headings of the downloaded CSV file, which a spreadsheet
      // opens: which run a row is of.
      say("run"),
      // TRANSLATORS: a CSV column heading: the run's samples so far.
      say("samples"),
      // TRANSLATORS: a CSV column heading: the run's samples inside the circle.
      say("inside"),
      // TRANSLATORS: a CSV column heading: the run's estimate of π.
      say("estimate"),
      // TRANSLATORS: a CSV column heading: the band's lower edge at the run's number of samples.
      say("band's low edge"),
      // TRANSLATORS: a CSV column heading: the band's upper edge at the run's number of samples.
      say("band's high edge"),
      // TRANSLATORS: a CSV column heading: 1 where the run lies within the band, 0 where it does not.
      say("within the band (1 yes, 0 no)"),
    ];
    const rows = [];
    for (const [samples, inside, estimate] of window.quorvel.chartKept())
      // TRANSLATORS: in the downloaded CSV file, the name of the rows of this page's own run.
      rows.push(row(say("this run"), samples, inside, estimate));
    for (const r of runs)
      rows.push(row(say("a pupil's run"), r.total, r.inside, r.estimate));
    if (together)
      rows.push(row(say("the class together"), together.total, together.inside, together.estimate));
    return { head, rows };
  }
  function csv() {
    const { head, rows } = numbers();
    return [head, ...rows].map((fields) => fields.map(csvField).join(separator) + "\r\n").join("");
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
  window.addEventListener("storage", changedElsewhere);
  show(false);
  toggle.addEventListener("click", () => openPanel(panel.hidden));
  panel.addEventListener("submit", (event) => event.preventDefault());
  field.addEventListener("input", changed);
  field.addEventListener("blur", () => show(false));
  document.getElementById("class-download").addEventListener("click", download);
  clear.addEventListener("click", () => askToClear(true));
  document.getElementById("class-keep").addEventListener("click", () => askToClear(false));
  document.getElementById("class-clear-all").addEventListener("click", clearAll);
  window.quorvel = Object.assign(window.quorvel, { numbers });
})();
