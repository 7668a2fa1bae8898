// SPDX-License-Identifier: MIT
// Runs raizes.js, the program of the page, under node on the real standard
// streams, with main's exit status: the build puts this file beside it, as
// raizes-node.js, for the tests that compare its bytes with the cases'.
"use strict";
require("./raizes.js")()
  .then((raizes) => raizes.ccall("main", "number", [], [], { async: true }))
  .then((status) => {
    process.exitCode = status;
  });
