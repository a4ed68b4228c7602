// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* The page's words in the reader's language.  Every sentence a person reads
 * around the picture stands in English in the sources, marked for the
 * catalogues in po/: say("...") in the scripts, data-say in index.html.  The
 * build writes each catalogue's translations in here, so that no language
 * costs a fetch, and the page takes the first of the browser's languages it
 * has, or English, and names it in its lang.  Numbers are never typed into a
 * sentence: they come in through its {names}, written as the reader's
 * language writes them; the picture keeps the program's own.
 *
 * Every language carrying every English sentence again as its key would
 * weigh as much as the translations, so each sentence is known by a short
 * hash of its English, the build writes those keys once, and each
 * language's translations in their order.
 *
 * Sections: the catalogues, the language, words and numbers, the page's text.
 */
"use strict";

(function () {
  /* ---- the catalogues ---- */

  // The keys of the page's sentences, and each language's tag to their
  // translations in the keys' order, written in by the build.
  const keys = [/*@KEYS@*/];
  const catalogues = {/*@CATALOGUES@*/};
  // The board's pixels whose centre is inside the circle, and all of them:
  // the program's own figures (src/sampling.hpp), written in by the build.
  const board = {/*@BOARD@*/};

  /* ---- the language ---- */

  // The first the reader asks for that the page has: exactly, or by its
  // first part (pt-PT gets pt-BR rather than English).
  function pick() {
    const have = ["en", ...Object.keys(catalogues)];
    for (const wanted of navigator.languages || [navigator.language || "en"]) {
      const tag = wanted.toLowerCase();
      const found = have.find((code) => code.toLowerCase() === tag) ||
        have.find((code) => code.split("-")[0].toLowerCase() === tag.split("-")[0]);
      if (found)
        return found;
    }
    return "en";
  }

  const lang = pick();
  const catalogue = catalogues[lang] || [];
  const place = new Map(keys.map((key, i) => [key, i]));
  document.documentElement.lang = lang;

  /* ---- words and numbers ---- */

  // A sentence's key: FNV-1a over its UTF-16 code units, in base 36, as
  // the build's words.py has it too.
  function key(text) {
    let hash = 0x811c9dc5;
    for (let i = 0; i < text.length; i++)
      hash = Math.imul(hash ^ text.charCodeAt(i), 0x01000193);
    return (hash >>> 0).toString(36);
  }

  // The sentence in the reader's language, with each {name} that values
  // has filled in.
  function say(text, values) {
    const said = catalogue[place.get(key(text))] || text;
    return values ? said.replace(/\{(\w+)\}/g, (whole, name) => values[name] ?? whole) : said;
  }

  const formats = new Map();
  function number(value, decimals = 0) {
    if (!formats.has(decimals))
      formats.set(decimals, new Intl.NumberFormat(lang, {
        minimumFractionDigits: decimals, maximumFractionDigits: decimals }));
    return formats.get(decimals).format(value);
  }
  // A million and more as the language shortens it, "1M", "1 Mio.", or, in
  // a sentence, as it says it, "1 million", "1 Million".
  const compact = new Intl.NumberFormat(lang, { notation: "compact" });
  const spoken = new Intl.NumberFormat(lang, { notation: "compact", compactDisplay: "long" });
  function count(value, inWords = false) {
    return value < 1e6 ? number(value) : (inWords ? spoken : compact).format(value);
  }

  /* ---- the page's text ---- */

  /* data-say names the attribute to translate, or is empty for the text.
   * The page's own sentences may quote the board's figures; text that does
   * waits hidden until they are written in. */
  const figures = {
    inside: number(board.inside), pixels: number(board.pixels), settles: number(4 * board.inside / board.pixels, 4),
  };
  for (const element of document.querySelectorAll("[data-say]")) {
    const attribute = element.dataset.say;
    const text = (attribute ? element.getAttribute(attribute) : element.textContent).replace(/\s+/g, " ").trim();
    if (attribute)
      element.setAttribute(attribute, say(text, figures));
    else
      element.textContent = say(text, figures);
    if (Object.keys(figures).some((name) => text.includes(`{${name}}`)))
      element.hidden = false;
  }

  window.quorvel = Object.assign(window.quorvel || {}, { lang, say, number, count, board });
})();
