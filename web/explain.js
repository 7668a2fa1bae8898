// SPDX-License-Identifier: MIT
// What the page says of a run beside the program's own bytes: one sentence
// on the outcome and the steps of the quadratic formula. Every value comes
// from the program (A, B, C, Δ, x₁ and x₂ as it stored them, single
// precision widened exactly) and every root is shown as the program printed
// it; the page's own arithmetic finds only the true roots, to say where the
// program's seven digits were not enough.
/* exported raizesExplain */
"use strict";
const raizesExplain = (() => {
  const SUPERSCRIPT = "⁰¹²³⁴⁵⁶⁷⁸⁹";
  const LIMIT = "cerca de 3.4·10³⁸";

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
  function shortest(v) {
    for (let digits = 1; Number.isFinite(v) && digits < 9; ++digits) {
      const shorter = Number(v.toPrecision(digits));
      if (Math.fround(shorter) === v) {
        return Object.is(v, -0) ? -0 : shorter;
      }
    }
    return v;
  }
  const stored = (v) => plain(shortest(v));

  // A value inside a formula: in parentheses where negative or a power of
  // ten, so that (10²⁰)² is not read as 10²⁰².
  const term = (text) => (/^−|[⁰¹²³⁴⁵⁶⁷⁸⁹]$/.test(text) ? `(${text})` : text);
  const few = (v) => plain(Number(v.toPrecision(7)));

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

  // The roots of the equation the program read, x₁ (with +√Δ) first, in
  // double precision and without subtracting nearly equal numbers; null
  // where it has no two real roots.
  function trueRoots({ a, b, c }) {
    const d = b * b - 4 * a * c;
    if (a === 0 || !(d >= 0) || !Number.isFinite(d)) {
      return null;
    }
    const q = -(b + (b < 0 ? -1 : 1) * Math.sqrt(d)) / 2;
    const [plus, minus] = q === 0 ? [0, 0] : [q / a, c / q];
    return b < 0 ? [plus, minus] : [minus, plus];
  }

  // A root as the program printed it, in words where it overflowed: the
  // sentence quotes no "-inf".
  const shown = (run, i) => {
    const x = run.values[["x1", "x2"][i]];
    return Number.isFinite(x) ? run.printed[i] : `${x < 0 ? "menos " : ""}infinito`;
  };

  // A true root to two decimals, or to its first digits where it is large.
  const near = (v) => (Math.abs(v) < 1e9 ? `${v < 0 ? "−" : ""}${Math.abs(v).toFixed(2)}` : `cerca de ${plain(Number(v.toPrecision(2)))}`);

  // The roots the program printed that are not the true ones at two
  // decimals: each as [which, the true root].
  function misses(run) {
    const roots = trueRoots(run.values);
    return roots ? [0, 1].filter((i) => Number(run.printed[i]) !== Number(roots[i].toFixed(2))).map((i) => [i, roots[i]]) : [];
  }

  // Where a root the program printed is not the true root at two decimals:
  // both values, and why.
  function inexact(run) {
    const wrong = misses(run);
    return wrong.length === 0 ? ""
      : ` Mas ${wrong.map(([i, x]) => `x${"₁₂"[i]} é ${near(x)}, e não ${shown(run, i)}`).join("; e ")}: ` +
          "o programa guarda só uns sete algarismos de cada número, e nas contas perdeu os que faltavam.";
  }

  // The coefficient named by the program's error line.
  function refused(run) {
    const [, ended, which] = /(terminou antes do|o) valor de ([ABC])/.exec(run.errors) || [];
    if (!which) {
      return "O programa parou num erro: veja a mensagem acima.";
    }
    return ended !== "o"
      ? `A entrada foi encerrada antes do valor de ${which}, e o programa parou num erro. Toque em ` +
          "Executar de novo e digite os três números."
      : `O programa parou num erro no valor de ${which}: veja a mensagem acima, corrija o ${which} e ` +
          "toque em Executar de novo.";
  }

  // What happened in the run, in one sentence or two.
  function summary(run) {
    if (run.status !== 0) {
      return refused(run);
    }
    const values = run.values;
    const [first, second] = run.printed;
    if (!values) {
      return `O programa mostrou ${first} e ${second}.`;
    }
    const { a, b, c, delta, x1, x2 } = values;
    if ([a, b, c].some(Number.isNaN)) {
      return 'Um dos números digitados é "nan" (não é um número), e as contas com ele não dão raízes.';
    }
    if (![a, b, c].every(Number.isFinite)) {
      return `Um dos números digitados passa de ${LIMIT}, o maior que o programa guarda, e as contas com ele não dão raízes.`;
    }
    if (a === 0) {
      const because = "O programa usa a fórmula do segundo grau, que divide por 2·A = 0, e por isso não mostra";
      return b !== 0
        ? `Com A = 0 a equação não é do segundo grau: é do primeiro grau, ${equation(0, b, c).slice(4)} = 0, ` +
            `e sua raiz é x = −C / B = ${few(-c / b)}. ${because} essa raiz.`
        : `Com A = 0 e B = 0 não há x na equação: ${c === 0 ? "0 = 0 vale para todo x" : `${stored(c)} = 0 não vale para nenhum x`}. ` +
            `${because} raiz.`;
    }
    if (!Number.isFinite(delta)) {
      return `Δ = B² − 4·A·C passou de ${LIMIT}, o maior número que o programa guarda, e por isso ele não achou as raízes.`;
    }
    if (delta < 0) {
      return (
        `A equação não tem raiz real: Δ = ${stored(delta)} é negativo, e não existe raiz quadrada real ` +
        "de um número negativo; por isso o programa não mostra números."
      );
    }
    if (![x1, x2].every(Number.isFinite)) {
      return (
        `O programa mostrou ${shown(run, 0)} e ${shown(run, 1)}: A é tão pequeno que a divisão por 2·A ` +
        `passou de ${LIMIT}, o maior número que o programa guarda.` + inexact(run)
      );
    }
    if (delta === 0) {
      return (
        "Como Δ = 0, a equação tem uma raiz dupla" +
        (first === second ? `: x = ${first}.` : `, que o programa mostra como ${first} e ${second}.`) +
        inexact(run)
      );
    }
    return (
      `As raízes da equação são x₁ = ${first} e x₂ = ${second}` +
      (first === second ? ", diferentes, mas iguais com duas casas decimais." : ".") +
      inexact(run)
    );
  }

  // A whole number in all its digits (999998029824), as Δ is stored.
  const whole = (v, other) => (Number.isInteger(v) && Math.abs(v) < 1e21 ? `${v < 0 ? "−" : ""}${Math.abs(v)}` : other(v));

  // The quadratic formula's steps, as a student writes them, with the
  // values the program stored, so that each line can be redone from the
  // line above it; where the formula stops, the step says why.
  function steps(run) {
    const { a, b, c, delta, x1, x2 } = run.values;
    const [A, B, C] = [a, b, c].map(stored);
    const D = whole(delta, stored);
    // B² in double precision, 4·A·C in single, as the program does.
    const exact = b * b - Math.fround(Math.fround(4 * a) * c);
    // Said where Δ as stored differs in its first eight digits.
    const kept = !Number.isFinite(exact + delta) || plain(Number(exact.toPrecision(8))) === D ? ""
      : `${whole(Number(exact.toPrecision(15)), plain)}, que o programa guarda como `;
    const lines = [`Δ = B² − 4·A·C = ${term(B)}² − 4·${term(A)}·${term(C)} = ${kept}${D}`];
    if ([a, b, c].some(Number.isNaN)) {
      return [...lines, "Um dos números não é um número (nan): todas as contas dão nan, e a fórmula para aqui."];
    }
    if (Number.isNaN(delta)) {
      return [...lines, "Δ não é um número (nan): as contas com ∞ não têm resultado, e a fórmula para aqui."];
    }
    if (!Number.isFinite(delta)) {
      lines.push(`Δ passou do maior número que o programa guarda (${LIMIT}).`);
    }
    if (delta < 0) {
      return [...lines, "Δ é negativo: não existe raiz quadrada real de um número negativo. A fórmula para aqui: a equação não tem raiz real."];
    }
    const s = Math.sqrt(delta);
    // √Δ to as few digits (eight at least) as give the roots stored.
    let digits = 8;
    const redo = (r) => [0, 1].every((i) => Math.fround((-b + (i ? -r : r)) / (2 * a)) === [x1, x2][i]);
    while (digits < 17 && Number.isFinite(s) && a !== 0 && !redo(Number(s.toPrecision(digits)))) {
      ++digits;
    }
    const shortened = Number(s.toPrecision(digits));
    const root = plain(shortened);
    lines.push(`√Δ = √${term(D)} = ${root}`);
    if (a === 0) {
      lines.push("2·A = 2·0 = 0: a fórmula dividiria por zero e para aqui. Com A = 0 a equação não é do segundo grau.");
      return b === 0 || !Number.isFinite(b) ? lines
        : [...lines, `Ela é do primeiro grau: B·x + C = 0 dá x = −C / B = ${term(stored(-c))} / ${term(B)} = ${few(-c / b)}.`];
    }
    const minusB = b === 0 ? "0" : stored(-b);
    // The quotient as redone by hand from the line above, then what the
    // program kept of it, where the two differ.
    const quotient = (sign, x, p) => {
      const q = plain(Number(((shortest(-b) + sign * shortened) / (2 * shortest(a))).toPrecision(8)));
      const kept = stored(x);
      return !Number.isFinite(x) ? `${q}, que passa do maior número que o programa guarda (${LIMIT}): ele mostra ${p}`
        : q === kept ? `${kept}, que o programa mostra como ${p}`
          : `${q}, que o programa guarda como ${kept} e mostra como ${p}`;
    };
    const [p1, p2] = run.printed;
    lines.push(`x₁ = (−B + √Δ) / (2·A) = (${minusB} + ${root}) / (2·${term(A)}) = ${quotient(1, x1, p1)}`);
    lines.push(`x₂ = (−B − √Δ) / (2·A) = (${minusB} − ${root}) / (2·${term(A)}) = ${quotient(-1, x2, p2)}`);
    return lines;
  }

  return { summary, steps, stored, plain, equation, misses, near };
})();
