// SPDX-License-Identifier: MIT
// The checks of the page test, run inside the page in each engine by
// page.mjs: window.pageCheck(row) types one row of page.json at the page as
// a student would and returns what the page shows that the row does not
// expect, as a list of problems (empty: it passed).
/* global raizesExplain */
// The checks of issue-free features are grouped by what a student does:
// typing, the sentence, the graph, the link.
(() => {
  const $ = (id) => document.getElementById(id);
  const state = () => document.body.dataset.state;
  const echoes = () => document.querySelectorAll("#screen .echo").length;
  const shown = (e) => !e.hidden && e.getClientRects().length > 0;

  // Resolves once PREDICATE holds, checked at each change of the page.
  function until(predicate) {
    return new Promise((resolve) => {
      if (predicate()) {
        resolve();
        return;
      }
      const observer = new MutationObserver(() => {
        if (predicate()) {
          observer.disconnect();
          resolve();
        }
      });
      observer.observe(document.body, { subtree: true, childList: true, attributes: true, characterData: true });
    });
  }

  function submit(line) {
    $("field").value = line;
    $("form").requestSubmit();
  }

  // Types LINES one at a time, each once the program waits for it (all at
  // once, before it has loaded, where EARLY); ends the input where it still
  // waits after them, by END: "button" or "ctrl-d" (the field keeps the
  // last line, which must go without a line feed). Checks on the way that
  // the field names the coefficient asked and that nothing wipes the run.
  async function type(lines, problems, { early = false, end = "button", last = "", compose = null, recall = null } = {}) {
    if (early) {
      lines.forEach(submit);
    } else {
      for (const [count, line] of lines.entries()) {
        await until(() => (echoes() === count && state() === "waiting") || state() === "ended");
        if (state() === "ended") {
          return;
        }
        const asked = /Digite o Valor de ([ABC]) \n$/.exec(
          [...document.querySelectorAll("#screen .out")].map((s) => s.textContent).join(""));
        if (asked && $("field-label").textContent !== `Valor de ${asked[1]}`) {
          problems.push(`field named "${$("field-label").textContent}" while ${asked[1]} is asked`);
        }
        if (shown($("again")) || !shown($("end"))) {
          problems.push("while the program waits, 'Executar de novo' is in reach or 'Encerrar a entrada' is not");
        }
        const live = getComputedStyle($("summary"));
        if ($("summary").closest("[hidden]") || live.display === "none" || live.visibility !== "visible") {
          problems.push("the sentence's live region is hidden before the run ends: it may never be announced");
        }
        if (recall && recall.before === count) {
          // ↑ and ↓ as at a terminal: each gives the value it names.
          const got = recall.keys.map(([key]) => {
            $("field").dispatchEvent(new KeyboardEvent("keydown", { key, bubbles: true, cancelable: true }));
            return $("field").value;
          });
          if (JSON.stringify(got) !== JSON.stringify(recall.keys.map(([, value]) => value))) {
            problems.push(`↑ and ↓ gave ${JSON.stringify(got)}, expected ${JSON.stringify(recall.keys)}`);
          }
        }
        submit(line);
      }
    }
    await until(() => (echoes() >= lines.length && state() === "waiting") || state() === "ended");
    if (state() === "ended") {
      return;
    }
    $("field").value = last;
    if (compose) {
      // Each sign typed by its button where the cursor is, not at the end.
      // A string is typed where the cursor is, as a keyboard does.
      const [start, ...keys] = compose;
      const field = $("field");
      field.value = start;
      for (const key of keys) {
        if (typeof key === "string") {
          field.setRangeText(key, field.selectionStart, field.selectionEnd, "end");
        } else {
          if (key.length > 1) {
            field.setSelectionRange(key[1], key[1]);
          }
          document.querySelector(`[data-key="${key[0]}"]`).click();
        }
      }
      submit(field.value);
    } else if (end === "ctrl-d") {
      $("field").dispatchEvent(new KeyboardEvent("keydown", { key: "d", ctrlKey: true, bubbles: true }));
    } else if (end === "twice, then send") {
      // Taps too fast for the page to have ended the run in between.
      $("end").click();
      $("end").click();
      submit("9");
    } else {
      $("end").click();
    }
    await until(() => state() === "ended");
  }

  // Where the SVG path crosses or touches the x-axis, as stretches of the
  // picture's x: each change of side, and each run of points on the axis
  // (within half a pixel), once.
  function crossings(svg) {
    const axis = Number(svg.querySelector(".axis-x").getAttribute("y1"));
    const points = [...svg.querySelector(".curve").getAttribute("d").matchAll(/[ML](-?[\d.]+) (-?[\d.]+)/g)]
      .map((m) => [Number(m[1]), Math.abs(Number(m[2]) - axis) < 0.5 ? 0 : Math.sign(Number(m[2]) - axis)]);
    const found = [];
    let onAxis = [];
    points.forEach(([x, side], i) => {
      if (side === 0) {
        onAxis.push(x);
        return;
      }
      if (onAxis.length) {
        found.push([onAxis[0], onAxis[onAxis.length - 1]]);
        onAxis = [];
      } else if (i > 0 && points[i - 1][1] === -side) {
        found.push([points[i - 1][0], x]);
      }
    });
    if (onAxis.length) {
      found.push([onAxis[0], onAxis[onAxis.length - 1]]);
    }
    return found;
  }

  // What is wrong with the graph, against the row's expectations.
  function graphProblems(row) {
    const figure = $("graph");
    if (row.graph === undefined) {
      return [];
    }
    if (row.graph === null) {
      return shown(figure) ? [`a graph is drawn: ${$("graph-title").textContent}`] : [];
    }
    if (!shown(figure)) {
      return ["no graph"];
    }
    const problems = [];
    const svg = $("curve");
    const frame = svg.querySelector(".frame").getBBox();
    const title = $("graph-title").textContent;
    const caption = $("caption").textContent;
    if (row.graph.title !== undefined && title !== row.graph.title) {
      problems.push(`title "${title}", expected "${row.graph.title}"`);
    }
    if (row.graph.caption !== undefined && !caption.includes(row.graph.caption)) {
      problems.push(`caption "${caption}" does not say "${row.graph.caption}"`);
    }
    const cross = crossings(svg).filter(([from, to]) => to >= frame.x && from <= frame.x + frame.width);
    if (cross.length !== row.graph.crossings) {
      problems.push(`the curve meets the x-axis ${cross.length} times in sight, expected ${row.graph.crossings}`);
    }
    const roots = [...svg.querySelectorAll(".root")];
    const labels = roots.map((g) => g.querySelector("text").textContent);
    if (JSON.stringify(labels) !== JSON.stringify(row.graph.labels)) {
      problems.push(`root labels ${JSON.stringify(labels)}, expected ${JSON.stringify(row.graph.labels)}`);
    }
    const axisY = Number(svg.querySelector(".axis-x").getAttribute("y1"));
    for (const circle of svg.querySelectorAll(".root circle")) {
      const x = Number(circle.getAttribute("cx"));
      if (!cross.some(([from, to]) => x >= from - 2 && x <= to + 2) || Math.abs(circle.getAttribute("cy") - axisY) > 0.5) {
        problems.push(`a root's mark at (${x}, ${circle.getAttribute("cy")}) is not where the curve meets the axis (${cross})`);
      }
    }
    // Every label clear of the curve's points, the x-axis, the marks and
    // the other labels, and inside the picture.
    const [, , width, height] = svg.getAttribute("viewBox").split(" ").map(Number);
    const curve = [...svg.querySelector(".curve").getAttribute("d").matchAll(/[ML](-?[\d.]+) (-?[\d.]+)/g)]
      .map((m) => [Number(m[1]), Number(m[2])])
      .filter(([x, y]) => x >= frame.x && x <= frame.x + frame.width && y >= frame.y && y <= frame.y + frame.height);
    const texts = [...svg.querySelectorAll(".root text, .vertex text")];
    const boxes = texts.map((t) => t.getBBox());
    const marks = [...svg.querySelectorAll("circle")].map((m) => m.getBBox());
    const inside = (b, [x, y]) => x >= b.x && x <= b.x + b.width && y >= b.y && y <= b.y + b.height;
    const meet = (a, b) => a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
    boxes.forEach((a, i) => {
      const on = curve.filter((p) => inside(a, p)).length;
      if (on || (a.y < axisY && axisY < a.y + a.height) || marks.some((m) => meet(a, m)) ||
          a.x < 0 || a.y < 0 || a.x + a.width > width || a.y + a.height > height) {
        problems.push(`label "${texts[i].textContent}" covers ${on} points of the curve, the x-axis or a mark, or passes the graph's edge`);
      }
      boxes.slice(i + 1).forEach((b, j) => {
        if (meet(a, b)) {
          problems.push(`labels overlap: "${texts[i].textContent}", "${texts[i + j + 1].textContent}"`);
        }
      });
    });
    const vertex = svg.querySelector(".vertex text");
    if (row.graph.vertex !== undefined && (vertex ? vertex.textContent : null) !== row.graph.vertex) {
      problems.push(`vertex ${vertex && vertex.textContent}, expected ${row.graph.vertex}`);
    }
    // Named once, by the picture: the equation, the roots marked, the vertex.
    const name = svg.getAttribute("aria-label") || "";
    const said = [title, ...labels, ...(vertex ? [vertex.textContent] : [])];
    if (svg.getAttribute("aria-labelledby") || said.some((t) => !name.includes(t)) ||
        [$("graph-title"), $("caption")].some((e) => e.getAttribute("aria-hidden") !== "true")) {
      problems.push(`the graph is named "${name}", or its title and caption are exposed beside it`);
    }
    const scales = [...svg.querySelectorAll(".scale")].map((t) => t.textContent);
    const axes = [".scale-x", ".scale-y"].map((axis) => [...svg.querySelectorAll(axis)].map((t) => t.textContent));
    // Significant digits, past the seven of single precision: a binary error.
    const digits = (t) => t.replace(/[^0-9]/g, "").replace(/^0+|0+$/g, "").length;
    if (axes.some((labels) => labels.length < 2 || new Set(labels).size < labels.length) ||
        scales.some((t) => /\de|e[+-]?\d/.test(t) || digits(t) > 7)) {
      problems.push(`scales ${JSON.stringify(axes)}: fewer than two values on an axis, one twice, or a number as a computer writes it`);
    }
    return problems;
  }

  // The run's outcome, its last lines and the next action inside the
  // viewport, or where they are taller than it, the last lines at its top;
  // the whole graph with its scale no taller than the viewport.
  function inSight() {
    const view = window.innerHeight;
    const lines = [...document.querySelectorAll("#screen .out, #screen .err")].pop();
    const tall = $("again").getBoundingClientRect().bottom - lines.getBoundingClientRect().top + 16 > view;
    const outside = [["the last lines", lines], ["the sentence", $("summary")], ["'Executar de novo'", $("again")]]
      .filter(([, e]) => {
        const r = e.getBoundingClientRect();
        if (tall) {
          return e === lines && (r.top < 0 || r.top > view / 2);
        }
        return e === lines ? r.bottom > view || r.bottom - 4 < 0 : r.top < 0 || r.bottom > view;
      })
      .map(([name]) => name);
    if (shown($("graph")) && $("curve").getBoundingClientRect().height > view) {
      outside.push("the graph, taller than the screen");
    }
    return outside.length ? [`at ${window.innerWidth}×${view}, out of sight: ${outside.join(", ")}`] : [];
  }

  // Each of the program's printed values on one line wherever the page
  // shows it (-inf, not - and inf; 1000000.00 not cut).
  function splitValues(values) {
    const problems = [];
    const walker = document.createTreeWalker($("outcome").parentNode, NodeFilter.SHOW_TEXT);
    while (walker.nextNode()) {
      const node = walker.currentNode;
      for (const value of values) {
        for (let at = node.data.indexOf(value); at >= 0; at = node.data.indexOf(value, at + 1)) {
          const range = document.createRange();
          range.setStart(node, at);
          range.setEnd(node, at + value.length);
          const tops = new Set([...range.getClientRects()].filter((r) => r.width > 0).map((r) => Math.round(r.top)));
          if (tops.size > 1 || range.getBoundingClientRect().right > node.parentNode.closest("pre, p").getBoundingClientRect().right + 1) {
            problems.push(`"${value}" split across lines or cut at the edge in "${node.data}"`);
          }
        }
      }
    }
    return problems;
  }

  // The run's link: into the clipboard where there is one, else selected
  // in a field; with the values to type.
  async function linkProblems(expected) {
    const clipboard = Object.getOwnPropertyDescriptor(Navigator.prototype, "clipboard");
    const links = [];
    const query = (url) => {
      try {
        return JSON.stringify(Object.fromEntries(new URL(url).searchParams));
      } catch {
        return null;
      }
    };
    for (const shut of [false, true]) {
      Object.defineProperty(Navigator.prototype, "clipboard", { configurable: true,
        get: () => (shut ? undefined : { writeText: async (text) => links.push(text) }) });
      try {
        $("copy").click();
        await until(() => links.length || shown($("link")));
      } finally {
        if (clipboard) {
          Object.defineProperty(Navigator.prototype, "clipboard", clipboard);
        }
      }
    }
    const field = $("link");
    const problems = [];
    if (query(links[0]) !== JSON.stringify(expected) || !/copiado/.test($("copy").textContent)) {
      problems.push(`the clipboard got "${links[0]}", and the button says "${$("copy").textContent}"`);
    }
    if (!shown(field) || field.selectionStart !== 0 || field.selectionEnd !== field.value.length ||
        query(field.value) !== JSON.stringify(expected)) {
      problems.push(`the link "${field.value}" is not shown selected, or does not give ${JSON.stringify(expected)}`);
    }
    $("again").focus();
    return problems;
  }

  // The page opened from a link: once it has come to STATE, what was typed
  // and shown, and nothing of the link made an element.
  window.pageLink = async (expected) => {
    await until(() => state() === expected.state);
    const problems = [];
    const echo = [...document.querySelectorAll("#screen .echo")].map((s) => s.textContent).join("");
    if (expected.echo !== undefined && echo !== expected.echo) {
      problems.push(`typed ${JSON.stringify(echo)}, expected ${JSON.stringify(expected.echo)}`);
    }
    if (expected.asked && $("field-label").textContent !== expected.asked) {
      problems.push(`waiting for "${$("field-label").textContent}"`);
    }
    if (expected.summary && !$("summary").textContent.includes(expected.summary)) {
      problems.push(`sentence "${$("summary").textContent}"`);
    }
    if (document.querySelector("#screen :not(span), img")) {
      problems.push("the link made an element");
    }
    return problems;
  };

  window.pageCheck = async (row) => {
    const problems = [];
    if (row.scrollToGraph) {
      $("graph").scrollIntoView();
    }
    $("again").click();
    if ($("status").textContent !== "" || $("summary").textContent !== "" || shown($("again"))) {
      problems.push(`a new run still shows "${$("summary").textContent}" "${$("status").textContent}"`);
    }
    const lines = row.typed.split("\n");
    const explain = raizesExplain.summary;
    if (row.explanationFails) {
      raizesExplain.summary = () => {
        throw new Error("a fault planted by the test");
      };
    }
    try {
      await type(lines.slice(0, -1), problems, { ...row, last: lines[lines.length - 1] });
    } finally {
      raizesExplain.summary = explain;
    }
    if (!$("field").disabled || shown($("form")) || document.activeElement !== $("again")) {
      problems.push("the field is still on or in sight after the run, or the focus is not on 'Executar de novo'");
    }
    const spans = [...document.querySelectorAll("#screen span")].map((s) => [s.className, s.textContent]);
    const join = (kinds) => spans.filter(([k]) => kinds.includes(k)).map(([, t]) => t).join("");
    const got = { out: join(["out"]), err: join(["err"]), both: join(["out", "err"]), echo: join(["echo"]) };
    const code = /Status de saída: (\d+)$/.exec($("status").textContent);
    const expected = { out: row.out, err: row.err, both: row.out && row.out + row.err, echo: row.echo };
    for (const [key, value] of Object.entries(expected)) {
      if (value !== undefined && got[key] !== value) {
        problems.push(`${key} ${JSON.stringify(got[key])}, expected ${JSON.stringify(value)}`);
      }
    }
    if (!code || Number(code[1]) !== (row.err ? 1 : 0) || !$("status").closest("details:not([open])")) {
      problems.push(`status "${$("status").textContent}", or shown without being asked for`);
    }
    const notes = [...document.querySelectorAll("#screen .note")].length;
    if (notes > 1) {
      problems.push(`the input ended ${notes} times`);
    }
    const summary = $("summary").textContent;
    if (!summary.includes(row.summary) || /erro/.test(summary) !== Boolean(row.err)) {
      problems.push(`sentence "${summary}", expected one with "${row.summary}"`);
    }
    // The program's words only in quotes; the page's numbers with a point.
    const own = document.body.innerText.replace($("screen").innerText, "");
    if (/(^|[^"])\b(nan|inf)\b(?!")/.test(summary) || /\d,\d/.test(own)) {
      problems.push(`"nan" or "inf" unquoted in the sentence, or a decimal comma in the page's own text: "${summary}"`);
    }

    const steps = shown($("steps")) ? [...$("steps").querySelectorAll("li")].map((li) => li.textContent) : [];
    for (const step of row.steps || []) {
      if (!steps.includes(step)) {
        problems.push(`no step "${step}" among ${JSON.stringify(steps)}`);
      }
    }
    if (row.graph && !/gráfico/.test(summary)) {
      problems.push("the sentence does not say that a graph was drawn");
    }
    const printed = (/: (\S+) e (\S+)$/.exec(got.out) || []).slice(1);
    problems.push(...graphProblems(row), ...splitValues(printed), ...(row.sight ? inSight() : []));
    // Last, as it moves the focus.
    return [...problems, ...(row.link ? await linkProblems(row.link) : [])];
  };
})();
