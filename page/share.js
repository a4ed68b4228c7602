// SPDX-FileCopyrightText: 2026 The Quorvel developers
// SPDX-License-Identifier: MIT
/* The code to scan: the page's own address as a QR code over the whole
 * screen, full screen too, large enough for the phones at the back of a
 * class to read it off a projector, with the address written beside it for
 * those who would rather type it.
 *
 * The code is made by qrcode-generator (Debian's node-qrcode-generator),
 * loaded only when first asked for, so that a first visit stays small; the
 * one file carries it inside.  An address that only this computer can open
 * (a file on its disk, localhost) would be no use to a pupil, so the control
 * says so instead of showing a code for it.
 *
 * Sections: constants, the address, the code, the control.
 */
"use strict";

(function () {
  const quietModules = 4; // the blank margin a reader needs around a code
  const correction = "M"; // survives a projector's glare and a dusty lens

  const control = document.getElementById("share");
  const dialog = document.getElementById("code");
  const picture = document.getElementById("code-picture");
  const text = document.getElementById("code-text");

  /* ---- the address ---- */

  function address() {
    return location.href.split("#")[0];
  }
  function onlyHere() {
    if (location.protocol !== "http:" && location.protocol !== "https:")
      return true;
    const host = location.hostname.replace(/^\[|\]$/g, "");
    return host === "localhost" || host.endsWith(".localhost") || host === "::1" ||
      host === "0.0.0.0" || /^127\./.test(host);
  }

  /* ---- the code ---- */

  // The library's own script, once; the one file has it already.
  function library() {
    if (typeof window.qrcode === "function")
      return Promise.resolve(window.qrcode);
    return new Promise((resolve, reject) => {
      const script = document.createElement("script");
      script.src = "qrcode.js";
      script.onload = () => resolve(window.qrcode);
      script.onerror = reject;
      document.head.appendChild(script);
    });
  }

  /* Whole device pixels to a module, as large as the room the style gives,
   * so that every module is an even, sharp square. */
  function draw(make) {
    const code = make(0, correction);
    code.addData(address());
    code.make();
    const count = code.getModuleCount();
    const cells = count + 2 * quietModules;
    const ratio = window.devicePixelRatio || 1;
    picture.hidden = false;
    picture.style.width = "";
    const room = picture.getBoundingClientRect().width * ratio;
    const module = Math.max(1, Math.floor(room / cells));
    picture.width = picture.height = module * cells;
    picture.style.width = `${module * cells / ratio}px`;
    const pen = picture.getContext("2d");
    pen.fillStyle = "#fff";
    pen.fillRect(0, 0, picture.width, picture.height);
    pen.fillStyle = "#000";
    for (let row = 0; row < count; row++)
      for (let column = 0; column < count; column++)
        if (code.isDark(row, column))
          pen.fillRect((column + quietModules) * module, (row + quietModules) * module, module, module);
    // TRANSLATORS: what a screen reader calls the QR code; {address} is the page's web address.
    picture.setAttribute("aria-label", window.quorvel.say("QR code for the address {address}",
      { address: address() }));
  }

  /* ---- the control ---- */

  function show() {
    picture.hidden = true;
    dialog.showModal();
    if (onlyHere()) {
      // TRANSLATORS: shown, for the teacher, in place of the QR code, for an address that opens only
      // on this computer (a file on its disk, or localhost); {address} is that address.
      text.textContent = window.quorvel.say("This page's address, {address}, works only on this computer, so " +
        "a QR code for it would not help the pupils. Put the page on a web server or your course site, or share " +
        "it from a computer on the school's network. Open it from there, at its new address, and a QR code for " +
        "that address will show here.", { address: address() });
      return;
    }
    text.textContent = address();
    library().then(draw).catch(() => {
      // TRANSLATORS: shown in place of the QR code where it could not be made; {address} is the page's.
      text.textContent = window.quorvel.say("The QR code could not be made here. The page's address is {address}",
        { address: address() });
    });
  }

  if (typeof HTMLDialogElement !== "function") {
    control.hidden = true;
    return;
  }
  control.addEventListener("click", show);
  document.getElementById("code-close").addEventListener("click", () => dialog.close());
})();
