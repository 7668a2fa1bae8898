// SPDX-License-Identifier: MIT
// Runs the node build of the program (console_web.cpp's RAIZES_NODE) on the
// real standard streams, with main's exit status, for the tests that
// compare its bytes with the cases': cmake/web.cmake appends this file to
// the build's own script, raizes-node.js, which defines createRaizes.
/* global createRaizes */
"use strict";
createRaizes()
  .then((raizes) => raizes.ccall("main", "number", [], [], { async: true }))
  .then((status) => {
    process.exitCode = status;
  });
