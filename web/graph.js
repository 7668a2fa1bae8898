// SPDX-License-Identifier: MIT
// The graph of a run's equation: the curve with the program's A, B, C and
// Δ, both axes with a scale on each, the vertex with its coordinates, and
// each finite root the program printed that is the true one at two decimals,
// marked on the x-axis with its text. Every label goes where it covers
// neither the curve, the x-axis, a mark nor another label, and stays inside
// the plot.
/* global raizesExplain */
/* exported raizesGraph */
"use strict";
const raizesGraph = (() => {
  const SVG = "http://www.w3.org/2000/svg";
  const svg = document.getElementById("curve");
  const { plain, equation, misses, near } = raizesExplain;

  // The one helper for SVG elements: NAME with ATTRIBUTES and TEXT, added
  // to PARENT.
  function svgElement(parent, name, attributes, text) {
    const element = document.createElementNS(SVG, name);
    for (const [key, value] of Object.entries(attributes)) {
      element.setAttribute(key, value);
    }
    if (text !== undefined) {
      element.textContent = text;
    }
    parent.append(element);
    return element;
  }

  // A computed value of the page's own, to a few digits.
  const rounded = (v) => plain(Number(v.toPrecision(4)));

  // Whether the segment from P to Q passes through the box R (Liang–Barsky).
  function crosses([px, py], [qx, qy], r) {
    let [t0, t1] = [0, 1];
    const [dx, dy] = [qx - px, qy - py];
    for (const [p, q] of [[-dx, px - r.x], [dx, r.x + r.width - px], [-dy, py - r.y], [dy, r.y + r.height - py]]) {
      if (p === 0) {
        if (q < 0) {
          return false;
        }
      } else if (p < 0) {
        t0 = Math.max(t0, q / p);
      } else {
        t1 = Math.min(t1, q / p);
      }
    }
    return t0 <= t1;
  }

  const meets = (a, b) => a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;

  // Puts TEXT as near (X, Y) as its box can be while inside PLOT and clear
  // of the curve's POINTS, of the x-axis at height AXIS and of the boxes
  // TAKEN, trying the nearest spots first, above and below; where none is
  // clear, at the one with the fewest such clashes.
  function place(parent, text, [x0, y0], plot, points, axis, taken) {
    const label = svgElement(parent, "text", {}, text);
    const candidates = [];
    for (let dy = 16; dy < plot.height; dy += 10) {
      for (const dx of [0, -40, 40, -80, 80, -140, 140]) {
        candidates.push([x0 + dx, y0 - dy + 4, "middle", Math.hypot(dx, dy)], [x0 + dx, y0 + dy + 10, "middle", Math.hypot(dx, dy)]);
      }
    }
    candidates.sort((p, q) => p[3] - q[3]);
    let best = null;
    for (const [x, y, anchor] of candidates) {
      label.setAttribute("x", x.toFixed(2));
      label.setAttribute("y", y.toFixed(2));
      label.setAttribute("text-anchor", anchor);
      let box = label.getBBox();
      // Slid back inside the plot where it sticks out at a side.
      const slide = Math.max(0, plot.x + 2 - box.x) - Math.max(0, box.x + box.width - (plot.x + plot.width - 2));
      if (slide) {
        label.setAttribute("x", (x + slide).toFixed(2));
        box = label.getBBox();
      }
      const pad = { x: box.x - 2, y: box.y - 1, width: box.width + 4, height: box.height + 2 };
      const clashes =
        (box.y < plot.y || box.y + box.height > plot.y + plot.height || box.width > plot.width ? 100 : 0) +
        points.slice(1).filter((q, i) => crosses(points[i], q, pad)).length +
        (pad.y <= axis && axis <= pad.y + pad.height ? 1 : 0) +
        10 * taken.filter((t) => meets(t, pad)).length;
      if (!best || clashes < best.clashes) {
        best = { clashes, x: label.getAttribute("x"), y, anchor, box };
      }
      if (clashes === 0) {
        break;
      }
    }
    label.setAttribute("x", best.x);
    label.setAttribute("y", best.y.toFixed(2));
    label.setAttribute("text-anchor", best.anchor);
    taken.push(best.box);
  }

  // The stretch of x to draw: both roots and the vertex, with room around
  // them; around the crossing of a line where A = 0.
  function xWindow(a, b, c, delta, roots) {
    let centre = 0;
    let half = 1;
    if (a !== 0) {
      centre = -b / (2 * a);
      const spread = Math.max(0, ...roots.map((x) => Math.abs(x - centre)));
      const depth = Math.sqrt(Math.abs(delta / (4 * a * a)));
      half = spread > 0 ? spread * 1.6 : 2 * depth;
    } else if (b !== 0) {
      centre = -c / b;
      half = Math.abs(centre);
    }
    if (!Number.isFinite(centre)) {
      centre = 0;
    }
    // Roots a hair apart (Δ = 0 in single precision) show as one point.
    if (!Number.isFinite(half) || half <= Math.abs(centre) * 1e-4) {
      half = Math.max(1, Math.abs(centre) / 2);
    }
    half = Math.max(half, 1e-300);
    return [centre - half, centre + half];
  }

  // Round steps for a scale from LOW to HIGH with about COUNT marks.
  function ticks(low, high, count) {
    const raw = (high - low) / count;
    const order = 10 ** Math.floor(Math.log10(raw));
    const step = order * ([1, 2, 5, 10].find((f) => f * order >= raw) || 10);
    const values = [];
    for (let k = Math.ceil(low / step); k * step <= high; ++k) {
      values.push(k * step);
    }
    if (values.length < 2) {
      return ticks(low, high, 2 * count);
    }
    // k·step to the digits the step has, not its binary error (0.30000000000000004).
    return values.map((v) => [v, plain(Number(v.toPrecision(12)))]);
  }

  // Whether the curve meets the x-axis, from the program's Δ.
  function meeting(a, b, c, delta) {
    if (a !== 0) {
      if (!Number.isFinite(delta)) {
        return "Δ ficou grande demais para as contas, e o programa não achou as raízes";
      }
      return delta > 0
        ? "a parábola cruza o eixo x em dois pontos"
        : delta === 0
          ? "a parábola toca o eixo x num ponto só"
          : "a parábola não toca o eixo x";
    }
    if (b !== 0) {
      return "com A = 0, o gráfico é uma reta, que cruza o eixo x num ponto";
    }
    return `com A = 0 e B = 0, o gráfico é ${c === 0 ? "o próprio eixo x" : "uma reta que não toca o eixo x"}`;
  }

  // Draws the run's equation WIDTH by HEIGHT; gives its title, its caption
  // and the one sentence that names it for a screen reader.
  function draw(run, width, height) {
    const { a, b, c, x1, x2 } = run.values;
    // A printed root that is not the true one is not marked as a root.
    const wrong = misses(run).filter(([i]) => Number.isFinite([x1, x2][i]));
    const finite = [
      [x1, run.printed[0]],
      [x2, run.printed[1]],
    ].filter(([x]) => Number.isFinite(x));
    const roots = finite.filter(([x]) => !wrong.some(([i]) => [x1, x2][i] === x));
    svg.replaceChildren();
    svg.setAttribute("viewBox", `0 0 ${width} ${height}`);
    svg.setAttribute("width", width);
    svg.setAttribute("height", height);

    // A parabola drawn as a·(x − h)² − Δ/(4·a) with the program's Δ, so that
    // it crosses, touches or misses the axis as the program found.
    const delta = Number.isFinite(run.values.delta) ? run.values.delta : b * b - 4 * a * c;
    const [x0, xEnd] = xWindow(a, b, c, delta, finite.map(([x]) => x));
    const vertex = a !== 0 ? [-b / (2 * a), -delta / (4 * a)] : null;
    const y = vertex ? (x) => a * (x - vertex[0]) ** 2 + vertex[1] : (x) => b * x + c;
    // Sampled evenly, and at the vertex and the roots themselves.
    const xs = finite.map(([x]) => x).concat(vertex ? [vertex[0]] : []);
    for (let i = 0; i <= 240; ++i) {
      xs.push(x0 + ((xEnd - x0) * i) / 240);
    }
    const samples = xs.filter((x) => x >= x0 && x <= xEnd).sort((p, q) => p - q).map((x) => [x, y(x)]);
    const ys = samples.map(([, y]) => y).filter(Number.isFinite);
    let y0 = Math.min(0, ...ys);
    let yEnd = Math.max(0, ...ys);
    if (y0 === yEnd) {
      [y0, yEnd] = [-1, 1];
    }
    const pad = (yEnd - y0) * 0.1;
    [y0, yEnd] = [y0 - pad, yEnd + pad];
    const yTicks = ticks(y0, yEnd, Math.max(3, Math.min(5, Math.floor(height / 60))));
    const left = 14 + 8 * Math.max(...yTicks.map(([, t]) => t.length));
    const [right, top, bottom] = [width - 10, 10, height - 30];
    const px = (x) => left + ((x - x0) / (xEnd - x0)) * (right - left);
    const py = (y) => top + ((yEnd - y) / (yEnd - y0)) * (bottom - top);
    const fixed = (v) => v.toFixed(2);

    for (const [x, label] of ticks(x0, xEnd, Math.max(3, Math.floor((right - left) / 90)))) {
      svgElement(svg, "line", { class: "grid", x1: fixed(px(x)), x2: fixed(px(x)), y1: top, y2: bottom });
      svgElement(svg, "text", { class: "scale scale-x", x: fixed(px(x)), y: bottom + 20, "text-anchor": "middle" }, label);
    }
    for (const [y, label] of yTicks) {
      svgElement(svg, "line", { class: "grid", x1: left, x2: right, y1: fixed(py(y)), y2: fixed(py(y)) });
      svgElement(svg, "text", { class: "scale scale-y", x: left - 6, y: fixed(py(y) + 5), "text-anchor": "end" }, label);
    }
    const plot = { x: left, y: top, width: right - left, height: bottom - top };
    svgElement(svg, "rect", { class: "frame", ...plot });
    if (x0 <= 0 && 0 <= xEnd) {
      svgElement(svg, "line", { class: "axis axis-y", x1: fixed(px(0)), x2: fixed(px(0)), y1: top, y2: bottom });
    }
    const axis = py(0);
    svgElement(svg, "line", { class: "axis axis-x", x1: left, x2: right, y1: fixed(axis), y2: fixed(axis) });

    const points = samples.map(([x, y]) => [px(x), Math.min(Math.max(py(y), top - 1e4), bottom + 1e4)]);
    const clip = svgElement(svg, "clipPath", { id: "plot-area" });
    svgElement(clip, "rect", { ...plot });
    svgElement(svg, "path", { class: "curve", "clip-path": "url(#plot-area)",
      d: points.map(([x, y], i) => `${i ? "L" : "M"}${fixed(x)} ${fixed(y)}`).join(" ") });

    // The roots' labels first, above or below the axis, stacked where they
    // would meet; then the vertex's, beside it where there is room.
    const taken = [];
    const groups = new Map();
    for (const [x, text] of roots) {
      groups.set(text, [...(groups.get(text) || []), x]);
    }
    for (const [text, xs] of groups) {
      const g = svgElement(svg, "g", { class: "root" });
      for (const x of xs) {
        svgElement(g, "circle", { cx: fixed(px(x)), cy: fixed(axis), r: 6 });
        taken.push({ x: px(x) - 6, y: axis - 6, width: 12, height: 12 });
      }
      place(g, text, [px(xs.reduce((s, v) => s + v, 0) / xs.length), axis], plot, points, axis, taken);
    }
    let vertexText = null;
    if (vertex && vertex.every(Number.isFinite)) {
      const [vx, vy] = [px(vertex[0]), py(vertex[1])];
      if (vy >= top && vy <= bottom) {
        const g = svgElement(svg, "g", { class: "vertex" });
        svgElement(g, "circle", { cx: fixed(vx), cy: fixed(vy), r: 4 });
        taken.push({ x: vx - 4, y: vy - 4, width: 8, height: 8 });
        vertexText = `vértice (${rounded(vertex[0])}; ${rounded(vertex[1])})`;
        place(g, vertexText, [vx, vy], plot, points, axis, taken);
      }
    }

    const shown = [...groups.keys()];
    const title = `Gráfico de ${equation(a, b, c)}`;
    const caption =
      `De x = ${rounded(x0)} a x = ${rounded(xEnd)}: ${meeting(a, b, c, run.values.delta)}. ` +
      (shown.length
        ? `${shown.length > 1 ? "As marcas no eixo x são as raízes" : "A marca no eixo x é a raiz"} que o programa mostrou: ${shown.join(" e ")}.`
        : "O programa não mostrou nenhuma raiz que se possa marcar no eixo.") +
      wrong.map(([i, x]) => ` O ${run.printed[i]} que o programa mostrou não está marcado: a raiz é ${near(x)}.`).join("") +
      (vertexText ? ` O ponto marcado é o ${vertexText}.` : "");
    return { title, caption, name: `${title}. ${caption}` };
  }

  return { draw };
})();
