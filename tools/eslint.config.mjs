// SPDX-License-Identifier: MIT
// ESLint's configuration for the project's JavaScript, which tools/lint runs.
import js from "@eslint/js";
import globals from "globals";

export default [
  js.configs.recommended,
  {
    // The page's scripts are classic scripts: they share the page's globals
    // with the module's script that emscripten makes, which defines
    // createRaizes (-sEXPORT_NAME in cmake/web.cmake).
    files: ["web/**/*.js"],
    ignores: ["web/node.js"],
    languageOptions: {
      sourceType: "script",
      globals: { ...globals.browser, createRaizes: "readonly" },
    },
  },
  {
    // Run by node, beside the module's script, for the tests.
    files: ["web/node.js"],
    languageOptions: { sourceType: "commonjs", globals: { ...globals.node } },
  },
  {
    // Every other script is a tool or a test, run by node.
    files: ["**/*.js", "**/*.cjs", "**/*.mjs"],
    ignores: ["web/**"],
    languageOptions: { globals: { ...globals.node } },
  },
];
