// SPDX-License-Identifier: MIT
// ESLint's configuration for the project's JavaScript, which tools/lint runs.
import js from "@eslint/js";
import globals from "globals";

export default [
  js.configs.recommended,
  {
    // The page's scripts are classic scripts: they share the page's globals
    // with the module's script that emscripten makes, whose createRaizes
    // (-sEXPORT_NAME in cmake/web.cmake) console.js declares as a global.
    files: ["web/**/*.js"],
    ignores: ["web/service-worker.js"],
    languageOptions: {
      sourceType: "script",
      globals: { ...globals.browser },
    },
  },
  {
    // The offline app's service worker, in a worker's scope of its own.
    files: ["web/service-worker.js"],
    languageOptions: { sourceType: "script", globals: { ...globals.serviceworker } },
  },
  {
    // Every other script is a tool or a test, run by node.
    files: ["**/*.js", "**/*.cjs", "**/*.mjs"],
    ignores: ["web/**", "tests/page_check.js"],
    languageOptions: { globals: { ...globals.node } },
  },
  {
    // Appended to the node build's own script, whose createRaizes it calls.
    files: ["tests/node-runner.js"],
    languageOptions: { sourceType: "script", globals: { ...globals.node } },
  },
  {
    // The page test's checks, which page.mjs runs inside the page.
    files: ["tests/page_check.js"],
    languageOptions: { sourceType: "script", globals: { ...globals.browser } },
  },
];
