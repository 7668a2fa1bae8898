// SPDX-License-Identifier: MIT
// What the page says of a run beside the program's own bytes: one sentence
// on the outcome, the steps of the quadratic formula, and the graph. Every
// value comes from the program (A, B, C, Δ, x₁ and x₂ as it stored them,
// single precision widened exactly) and every root is shown as the program
// printed it; the page's own arithmetic only places the curve.
/* exported raizesExplain */
"use strict";
const raizesExplain = (() => {
  const $ = (id) => document.getElementById(id);
  const SVG = "http://www.w3.org/2000/svg";
  const svg = $("curve");
  const SUPERSCRIPT = "⁰¹²³⁴⁵⁶⁷⁸⁹";

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

  // V as a student writes it: plain digits (1000000, 0.000002) up to nine
  // digits either side of the point, else m·10ⁿ; a minus sign, not a hyphen.
  function plain(v) {
    if (Number.isNaN(v)) {
      return "nan";
    }
    if (!Number.isFinite(v)) {
      return v < 0 ? "−∞" : "∞";
    }
    const abs = Math.abs(v);
    let text;
    if (abs === 0 || (abs >= 1e-6 && abs < 1e9)) {
      text = String(abs);
    } else {
      const [mantissa, exponent] = abs.toExponential().split("e");
      const digits = [...String(Math.abs(Number(exponent)))].map((d) => SUPERSCRIPT[d]).join("");
      text = `${mantissa === "1" ? "" : `${mantissa}·`}10${exponent.startsWith("-") ? "⁻" : ""}${digits}`;
    }
    return (v < 0 || Object.is(v, -0) ? "−" : "") + text;
  }

  // A stored value (single precision) in its shortest decimal form that
  // reads back as the same value: 0.1, not 0.100000001490116.
  function stored(v) {
    if (!Number.isFinite(v)) {
      return plain(v);
    }
    for (let digits = 1; digits < 9; ++digits) {
      const shorter = Number(v.toPrecision(digits));
      if (Math.fround(shorter) === v) {
        return plain(Object.is(v, -0) ? -0 : shorter);
      }
    }
    return plain(v);
  }

  // A computed value of the page's own, to a few digits.
  const rounded = (v) => plain(Number(v.toPrecision(4)));
  // A value inside a formula: in parentheses where negative or a power of
  // ten, so that (10²⁰)² is not read as 10²⁰².
  const term = (text) => (/^−|[⁰¹²³⁴⁵⁶⁷⁸⁹]$/.test(text) ? `(${text})` : text);

  // Why the run ended as it did, in one sentence.
  function summary(run) {
    if (run.status !== 0) {
      return (
        "O programa parou num erro: veja a mensagem acima. Corrija os números e toque em " +
        "Executar de novo."
      );
    }
    const values = run.values;
    const [first, second] = run.printed;
    if (!values) {
      return `O programa mostrou ${first} e ${second}.`;
    }
    const { a, b, c, delta } = values;
    if ([a, b, c].some(Number.isNaN)) {
      return `Um dos números é nan (não é um número), e as contas com ele dão ${first} e ${second}.`;
    }
    if (![a, b, c, delta].every(Number.isFinite)) {
      return (
        `Um número ficou grande demais para as contas (Δ = ${stored(delta)}), e por isso o ` +
        `resultado é ${first} e ${second}.`
      );
    }
    if (a === 0) {
      return (
        `Com A = 0 a equação não é do segundo grau: a fórmula divide por 2·A, que é 0, e por ` +
        `isso o resultado é ${first} e ${second}.`
      );
    }
    if (delta < 0) {
      return (
        `A equação não tem raiz real: Δ = ${stored(delta)} é negativo, e não existe raiz ` +
        `quadrada real de um número negativo; por isso o resultado é ${first} e ${second}.`
      );
    }
    if (delta === 0) {
      return (
        "Como Δ = 0, a equação tem uma raiz dupla" +
        (first === second ? `: x = ${first}.` : `, que o programa mostra como ${first} e ${second}.`)
      );
    }
    // Δ is finite, so neither −B ± √Δ overflows: only the division can.
    if (![values.x1, values.x2].every(Number.isFinite)) {
      return (
        `A é tão pequeno que a divisão por 2·A passou do maior número que o programa guarda ` +
        `(cerca de 3.4·10³⁸), e por isso o resultado é ${first} e ${second}.`
      );
    }
    return (
      `As raízes da equação são x₁ = ${first} e x₂ = ${second}` +
      (first === second ? ", diferentes, mas iguais com duas casas decimais." : ".")
    );
  }

  // The quadratic formula's steps, as a student writes them, with the
  // program's values; where the formula stops, the step says why.
  function steps(run) {
    const { a, b, c, delta, x1, x2 } = run.values;
    const [A, B, C, D] = [a, b, c, delta].map(stored);
    const lines = [`Δ = B² − 4·A·C = ${term(B)}² − 4·${term(A)}·${term(C)} = ${D}`];
    if ([a, b, c].some(Number.isNaN)) {
      return [...lines, "Um dos números é nan (não é um número): todas as contas dão nan, e a fórmula para aqui."];
    }
    if (Number.isNaN(delta)) {
      return [...lines, "Δ não é um número (nan): as contas com ∞ não têm resultado, e a fórmula para aqui."];
    }
    if (!Number.isFinite(delta)) {
      lines.push("Δ passou do maior número que o programa guarda (cerca de 3.4·10³⁸).");
    }
    if (delta < 0) {
      return [...lines, "Δ é negativo: não existe raiz quadrada real de um número negativo. A fórmula para aqui: a equação não tem raiz real."];
    }
    const root = plain(Number(Math.sqrt(delta).toPrecision(8)));
    lines.push(`√Δ = √${term(D)} = ${root}`);
    if (a === 0) {
      return [...lines, "2·A = 2·0 = 0: a fórmula dividiria por zero e para aqui. Com A = 0 a equação não é do segundo grau."];
    }
    const minusB = b === 0 ? "0" : stored(-b);
    const [p1, p2] = run.printed;
    lines.push(`x₁ = (−B + √Δ) / (2·A) = (${minusB} + ${root}) / (2·${term(A)}) = ${stored(x1)}, que o programa mostra como ${p1}`);
    lines.push(`x₂ = (−B − √Δ) / (2·A) = (${minusB} − ${root}) / (2·${term(A)}) = ${stored(x2)}, que o programa mostra como ${p2}`);
    return lines;
  }

  // Whether the curve meets the x-axis, from the program's Δ.
  function meeting(a, b, c, delta) {
    if (a !== 0) {
      if (!Number.isFinite(delta)) {
        return `Δ ficou grande demais para as contas (${stored(delta)}), e o programa não achou as raízes.`;
      }
      return delta > 0
        ? "Como Δ > 0, a parábola cruza o eixo x em dois pontos."
        : delta === 0
          ? "Como Δ = 0, a parábola toca o eixo x num ponto só."
          : "Como Δ < 0, a parábola não toca o eixo x.";
    }
    if (b !== 0) {
      return "Com A = 0, o gráfico é uma reta, que cruza o eixo x num ponto.";
    }
    return `Com A = 0 e B = 0, o gráfico é ${c === 0 ? "o próprio eixo x" : "uma reta que não toca o eixo x"}.`;
  }

  // y = A·x² + B·x + C as a student writes it: no term whose coefficient
  // is 0, no 1 before an x.
  function equation(a, b, c) {
    const text = [
      [a, "x²"],
      [b, "x"],
      [c, ""],
    ]
      .filter(([v]) => v !== 0)
      .map(([v, x], i) => {
        const size = stored(Math.abs(v));
        const body = size === "1" && x ? x : `${size}${x ? "·" : ""}${x}`;
        return i === 0 ? `${v < 0 ? "−" : ""}${body}` : ` ${v < 0 ? "−" : "+"} ${body}`;
      })
      .join("");
    return `y = ${text || "0"}`;
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

  // Draws the equation: the curve, both axes, a scale on each, the vertex
  // with its coordinates, and each finite root at its value, labelled with
  // the text the program printed (one label for roots printed alike).
  function draw(run, width) {
    const { a, b, c, x1, x2 } = run.values;
    const roots = [
      [x1, run.printed[0]],
      [x2, run.printed[1]],
    ].filter(([x]) => Number.isFinite(x));
    const height = Math.round(Math.min(440, Math.max(260, width * 0.7)));
    svg.replaceChildren();
    svg.setAttribute("viewBox", `0 0 ${width} ${height}`);
    svg.setAttribute("width", width);
    svg.setAttribute("height", height);

    // A parabola drawn as a·(x − h)² − Δ/(4·a) with the program's Δ, so that
    // it crosses, touches or misses the axis as the program found.
    const delta = Number.isFinite(run.values.delta) ? run.values.delta : b * b - 4 * a * c;
    const [x0, xEnd] = xWindow(a, b, c, delta, roots.map(([x]) => x));
    const vertex = a !== 0 ? [-b / (2 * a), -delta / (4 * a)] : null;
    const y = vertex ? (x) => a * (x - vertex[0]) ** 2 + vertex[1] : (x) => b * x + c;
    // Sampled evenly, and at the vertex and the roots themselves.
    const xs = roots.map(([x]) => x).concat(vertex ? [vertex[0]] : []);
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
    const yTicks = ticks(y0, yEnd, 5);
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
    svgElement(svg, "rect", { class: "frame", x: left, y: top, width: right - left, height: bottom - top });
    if (x0 <= 0 && 0 <= xEnd) {
      svgElement(svg, "line", { class: "axis axis-y", x1: fixed(px(0)), x2: fixed(px(0)), y1: top, y2: bottom });
    }
    const axis = py(0);
    svgElement(svg, "line", { class: "axis axis-x", x1: left, x2: right, y1: fixed(axis), y2: fixed(axis) });

    let path = "";
    for (const [x, y] of samples) {
      const clamped = Math.min(Math.max(py(y), top - 1e4), bottom + 1e4);
      path += `${path ? "L" : "M"}${fixed(px(x))} ${fixed(clamped)} `;
    }
    const clip = svgElement(svg, "clipPath", { id: "plot-area" });
    svgElement(clip, "rect", { x: left, y: top, width: right - left, height: bottom - top });
    svgElement(svg, "path", { class: "curve", d: path.trim(), "clip-path": "url(#plot-area)" });

    // Labels go where there is room: above the axis, or below it where it
    // runs near the top; labels near each other are stacked.
    const above = axis - top > 60;
    const anchor = (x) => (x < left + 30 ? "start" : x > right - 30 ? "end" : "middle");
    if (vertex && vertex.every(Number.isFinite)) {
      const [vx, vy] = [px(vertex[0]), py(vertex[1])];
      if (vy >= top && vy <= bottom) {
        const g = svgElement(svg, "g", { class: "vertex" });
        svgElement(g, "circle", { cx: fixed(vx), cy: fixed(vy), r: 4 });
        const text = `vértice (${rounded(vertex[0])}; ${rounded(vertex[1])})`;
        if (Math.abs(vy - axis) < 30) {
          // Beside the roots' labels, on the other side of the axis.
          const toRight = vx < (left + width) / 2;
          svgElement(g, "text", { x: fixed(vx + (toRight ? 14 : -14)), y: fixed(vy + (above ? 20 : -10)),
            "text-anchor": toRight ? "start" : "end" }, text);
        } else {
          const below = vy < top + 30 || (a > 0 && vy < bottom - 30);
          svgElement(g, "text", { x: fixed(vx), y: fixed(vy + (below ? 22 : -12)), "text-anchor": anchor(vx) }, text);
        }
      }
    }
    const placed = [];
    const groups = new Map();
    for (const [x, text] of roots) {
      groups.set(text, [...(groups.get(text) || []), x]);
    }
    for (const [text, xs] of groups) {
      const g = svgElement(svg, "g", { class: "root" });
      for (const x of xs) {
        svgElement(g, "circle", { cx: fixed(px(x)), cy: fixed(axis), r: 6 });
      }
      const x = px(xs.reduce((s, v) => s + v, 0) / xs.length);
      const level = placed.filter((p) => Math.abs(p - x) < 56).length;
      placed.push(x);
      const dy = above ? -16 - 20 * level : 26 + 20 * level;
      svgElement(g, "text", { x: fixed(x), y: fixed(axis + dy), "text-anchor": anchor(x) }, text);
    }

    const shown = [...groups.keys()];
    return {
      title: `Gráfico de ${equation(a, b, c)}`,
      caption:
        `x de ${rounded(x0)} a ${rounded(xEnd)}. ${meeting(a, b, c, run.values.delta)} ` +
        (shown.length
          ? `${shown.length > 1 ? "As marcas no eixo x são as raízes" : "A marca no eixo x é a raiz"} que o programa mostrou: ${shown.join(" e ")}.`
          : "O programa não mostrou nenhuma raiz que se possa marcar no eixo."),
    };
  }

  return { summary, steps, draw, stored };
})();
