// SPDX-License-Identifier: MIT
// The checks of the page test, run inside the page in each engine by
// page.mjs: window.pageCheck(row) types one row of page.json at the page as
// a student would and returns what the page shows that the row does not
// expect, as a list of problems (empty: it passed).
/* global raizesExplain */
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
  async function type(lines, problems, { early = false, end = "button", last = "", compose = null } = {}) {
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
      const [start, ...keys] = compose;
      $("field").value = start;
      for (const [key, at] of keys) {
        $("field").setSelectionRange(at, at);
        document.querySelector(`[data-key="${key}"]`).click();
      }
      submit($("field").value);
    } else if (end === "ctrl-d") {
      $("field").dispatchEvent(new KeyboardEvent("keydown", { key: "d", ctrlKey: true, bubbles: true }));
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
    for (const circle of svg.querySelectorAll(".root circle")) {
      const x = Number(circle.getAttribute("cx"));
      if (!cross.some(([from, to]) => x >= from - 2 && x <= to + 2)) {
        problems.push(`a root's mark at x = ${x} is not where the curve meets the axis (${cross})`);
      }
    }
    const boxes = roots.map((g) => g.querySelector("text").getBBox());
    boxes.forEach((a, i) => boxes.slice(i + 1).forEach((b) => {
      if (a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height) {
        problems.push(`root labels overlap: ${labels}`);
      }
    }));
    const vertex = svg.querySelector(".vertex text");
    if (row.graph.vertex !== undefined && (vertex ? vertex.textContent : null) !== row.graph.vertex) {
      problems.push(`vertex ${vertex && vertex.textContent}, expected ${row.graph.vertex}`);
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
  // viewport.
  function inSight() {
    const view = window.innerHeight;
    const lines = [...document.querySelectorAll("#screen .out, #screen .err")].pop();
    const outside = [["the last lines", lines], ["the sentence", $("summary")], ["'Executar de novo'", $("again")]]
      .filter(([, e]) => {
        const r = e.getBoundingClientRect();
        return e === lines ? r.bottom > view || r.bottom - 4 < 0 : r.top < 0 || r.bottom > view;
      })
      .map(([name]) => name);
    return outside.length ? [`at ${window.innerWidth}×${view}, out of sight: ${outside.join(", ")}`] : [];
  }

  window.pageCheck = async (row) => {
    const problems = [];
    if (row.scrollToGraph) {
      $("graph").scrollIntoView();
    }
    $("again").click();
    if ($("status").textContent !== "" || shown($("outcome"))) {
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
    if (!code || Number(code[1]) !== (row.err ? 1 : 0)) {
      problems.push(`status "${$("status").textContent}"`);
    }
    const summary = $("summary").textContent;
    if (!summary.includes(row.summary) || /erro/.test(summary) !== Boolean(row.err)) {
      problems.push(`sentence "${summary}", expected one with "${row.summary}"`);
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
    return [...problems, ...graphProblems(row), ...(row.sight ? inSight() : [])];
  };
})();
