#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Quorvel developers
# SPDX-License-Identifier: MIT
"""Prints quorvel-wasm.js: the program's WebAssembly as a script, for the
page opened from disk, which may not fetch quorvel.wasm, and for the one
file.  Deflated, then written out in base64, it is under half the size that
base64 alone makes it; the browser inflates it as it starts the program,
and where it cannot, the page says why, as for a damaged quorvel.wasm.

    scripts/web/wasm-script.py QUORVEL.WASM
"""
import base64
import sys
import zlib

SCRIPT = """// quorvel.wasm, deflated, for the page opened from disk and the one file
Module.instantiateWasm = (imports, receive) => {
  try {
    const deflated = Uint8Array.from(atob("%s"), (c) => c.charCodeAt(0));
    const inflated = new Blob([deflated]).stream().pipeThrough(new DecompressionStream("deflate-raw"));
    new Response(inflated).arrayBuffer()
      .then((wasm) => WebAssembly.instantiate(wasm, imports))
      .then((made) => receive(made.instance, made.module))
      .catch((error) => Module.onAbort(String(error)));
  } catch (error) {
    Module.onAbort(String(error));
  }
  return {};
};
"""


def main():
    with open(sys.argv[1], "rb") as f:
        wasm = f.read()
    packer = zlib.compressobj(9, zlib.DEFLATED, -15)
    deflated = packer.compress(wasm) + packer.flush()
    sys.stdout.write(SCRIPT % base64.b64encode(deflated).decode())


if __name__ == "__main__":
    main()
