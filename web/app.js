// SPDX-License-Identifier: MIT
// In the offline app's page only (cmake/page.py): its service worker, which
// keeps the page for use with no network. Where there can be none (a page
// opened from its file), the page works as it is.
"use strict";
if ("serviceWorker" in navigator) {
  navigator.serviceWorker.register("service-worker.js").catch(() => {});
}
