// SPDX-License-Identifier: MIT
// The page's side of the program's console (console_web.cpp): it hands the
// program each line typed, as UTF-8 bytes with its line feed; shows what the
// program writes, as it writes it, standard error apart; shows the exit
// status; and draws the equation that the program read. Every run is a new
// instance of the module. Everything here is inside one function: the
// module's own script names globals of its own (out, err, ...).
"use strict";
(() => {
  const $ = (id) => document.getElementById(id);
  const tela = $("tela");
  const form = $("form");
  const entrada = $("entrada");
  const estado = $("estado");
  const fim = $("fim");
  const deNovo = $("denovo");
  const grafico = $("grafico");
  const svg = $("curva");
  const titulo = $("titulo-grafico");
  const legenda = $("legenda");
  const controles = [entrada, $("enviar"), fim, ...document.querySelectorAll("[data-tecla]")];
  const encoder = new TextEncoder();
  const SVG = "http://www.w3.org/2000/svg";

  let atual = null; // the run that the page shows
  let desenho = null; // what the graph shows, to draw it again at another width

  // The page's state, for the styles and for whoever waits on it (the
  // tests): carregando, esperando (the program waits for a line),
  // executando, terminado.
  function marcar(nome) {
    document.body.dataset.estado = nome;
  }

  function mostrar(classe, texto) {
    if (texto === "") {
      return;
    }
    const parte = document.createElement("span");
    parte.className = classe;
    parte.textContent = texto;
    tela.append(parte);
    tela.scrollTop = tela.scrollHeight;
  }

  // Gives the waiting read what is queued, or the end of the input.
  function entregar(run) {
    if (!run.leitura || (run.fila.length === 0 && !run.fim)) {
      if (run.leitura && run === atual) {
        marcar("esperando");
      }
      return;
    }
    const { tamanho, resolver } = run.leitura;
    const parte = run.fila.slice(0, tamanho);
    run.fila = run.fila.slice(parte.length);
    run.leitura = null;
    if (run === atual) {
      marcar("executando");
    }
    resolver(parte);
  }

  function enfileirar(run, texto) {
    const bytes = encoder.encode(texto);
    const fila = new Uint8Array(run.fila.length + bytes.length);
    fila.set(run.fila);
    fila.set(bytes, run.fila.length);
    run.fila = fila;
  }

  function habilitar(sim) {
    for (const controle of controles) {
      controle.disabled = !sim;
    }
  }

  function executar() {
    const run = {
      fila: new Uint8Array(0),
      fim: false,
      leitura: null,
      saida: "",
      decodificadores: { 1: new TextDecoder(), 2: new TextDecoder() },
      coeficientes: null,
    };
    atual = run;
    tela.textContent = "";
    estado.textContent = "";
    grafico.hidden = true;
    desenho = null;
    entrada.value = "";
    habilitar(true);
    marcar("carregando");
    const escrever = (fd, texto) => {
      if (run === atual) {
        mostrar(fd === 2 ? "erro" : "saida", texto);
      }
      if (fd === 1) {
        run.saida += texto;
      }
    };
    createRaizes({
      raizesRead: (tamanho) =>
        new Promise((resolver) => {
          run.leitura = { tamanho, resolver };
          entregar(run);
        }),
      raizesWrite: (fd, bytes) => escrever(fd, run.decodificadores[fd].decode(bytes, { stream: true })),
      raizesSolved: (a, b, c) => {
        run.coeficientes = [a, b, c];
      },
    })
      .then((modulo) => {
        if (run === atual) {
          marcar("executando");
        }
        return modulo.ccall("main", "number", [], [], { async: true });
      })
      .then(
        (status) => {
          for (const fd of [1, 2]) {
            escrever(fd, run.decodificadores[fd].decode());
          }
          terminar(run, status);
        },
        (erro) => {
          if (run === atual) {
            habilitar(false);
            marcar("terminado");
            // A browser older than 'wasm-unsafe-eval' (Chrome 97, Firefox 102,
            // Safari 16) may not compile the program under the page's policy.
            estado.textContent = /CompileError|unsafe-eval/.test(String(erro))
              ? "Este navegador é antigo demais para executar o programa: use o Chrome ou " +
                "o Edge 97, o Firefox 102, o Safari 16 ou uma versão mais nova."
              : `O programa parou com um erro interno: ${erro}`;
          }
        },
      );
    entrada.focus();
  }

  function terminar(run, status) {
    if (run !== atual) {
      return;
    }
    habilitar(false);
    marcar("terminado");
    estado.textContent =
      `O programa terminou com status de saída ${status}` +
      (status === 0 ? ": o resultado está acima." : ": veja a mensagem de erro acima.");
    const resultado = /As raízes da equação são: (\S+) e (\S+)$/.exec(run.saida);
    if (status === 0 && resultado && run.coeficientes && run.coeficientes.every(Number.isFinite)) {
      desenho = { coeficientes: run.coeficientes, raizes: [resultado[1], resultado[2]] };
      grafico.hidden = false;
      desenhar();
    }
    deNovo.focus();
  }

  // What was typed goes to the program as a line, and stays on the screen.
  form.addEventListener("submit", (evento) => {
    evento.preventDefault();
    if (!atual || atual.fim) {
      return;
    }
    const linha = `${entrada.value}\n`;
    entrada.value = "";
    mostrar("eco", linha);
    enfileirar(atual, linha);
    entregar(atual);
    entrada.focus();
  });

  // As Ctrl-D at a terminal: what is typed goes without a line feed, and
  // then the input ends.
  function encerrar() {
    if (!atual || atual.fim) {
      return;
    }
    if (entrada.value !== "") {
      mostrar("eco", entrada.value);
      enfileirar(atual, entrada.value);
      entrada.value = "";
    }
    mostrar("nota", "\n(entrada encerrada)\n");
    atual.fim = true;
    entregar(atual);
  }
  fim.addEventListener("click", encerrar);
  entrada.addEventListener("keydown", (evento) => {
    if (evento.ctrlKey && !evento.altKey && evento.key.toLowerCase() === "d") {
      evento.preventDefault();
      encerrar();
    }
  });

  // Signs that a phone's numeric keyboard may lack, typed where the cursor is.
  for (const tecla of document.querySelectorAll("[data-tecla]")) {
    tecla.addEventListener("click", () => {
      const inicio = entrada.selectionStart ?? entrada.value.length;
      const final = entrada.selectionEnd ?? inicio;
      entrada.setRangeText(tecla.dataset.tecla, inicio, final, "end");
      entrada.focus();
    });
  }

  deNovo.addEventListener("click", executar);

  // A number as the graph shows it: at most six significant digits, with
  // an exponent, as the program reads it (1e19), where it is large or small.
  function numero(v) {
    const r = Number(v.toPrecision(6));
    if (r !== 0 && (Math.abs(r) >= 1e6 || Math.abs(r) < 1e-4)) {
      return r.toExponential().replace("e+", "e");
    }
    return String(Math.abs(r) === 0 ? 0 : r);
  }

  function elemento(nome, atributos, texto) {
    const e = document.createElementNS(SVG, nome);
    for (const [chave, valor] of Object.entries(atributos)) {
      e.setAttribute(chave, valor);
    }
    if (texto !== undefined) {
      e.textContent = texto;
    }
    svg.append(e);
    return e;
  }

  // The stretch of x to draw: around the real roots, or around the vertex
  // where there are none; a line where A = 0. In double precision, from the
  // coefficients as the program read them.
  function janela(a, b, c, marcas) {
    let centro = 0;
    let meia = 1;
    if (a !== 0) {
      centro = -b / (2 * a);
      const delta = b * b - 4 * a * c;
      meia =
        delta > 0
          ? (2.5 * Math.sqrt(delta)) / Math.abs(2 * a)
          : 2 * Math.sqrt(Math.abs((c - (b * b) / (4 * a)) / a));
    } else if (b !== 0) {
      centro = -c / b;
      meia = Math.abs(centro);
    }
    if (!Number.isFinite(centro)) {
      centro = 0;
    }
    if (!Number.isFinite(meia) || meia === 0) {
      meia = Math.max(1, Math.abs(centro) / 2);
    }
    meia = Math.max(meia, Math.abs(centro) * 1e-9, 1e-300);
    let [x0, x1] = [centro - meia, centro + meia];
    for (const x of marcas) {
      x0 = Math.min(x0, x - meia / 4);
      x1 = Math.max(x1, x + meia / 4);
    }
    return [x0, x1];
  }

  // Whether, and where, the curve meets the x-axis, in words.
  function encontro(a, b, c) {
    if (a !== 0) {
      const delta = b * b - 4 * a * c;
      return `A parábola ${delta > 0 ? "cruza o eixo x em dois pontos" : delta === 0 ? "toca o eixo x num ponto" : "não toca o eixo x"}.`;
    }
    if (b !== 0) {
      return "Com A = 0, o gráfico é uma reta, que cruza o eixo x num ponto.";
    }
    return `Com A = 0 e B = 0, o gráfico é ${c === 0 ? "o próprio eixo x" : "uma reta que não toca o eixo x"}.`;
  }

  // y = A·x² + B·x + C as a student writes it: no term whose coefficient
  // is 0, no 1 before an x.
  function equacao(a, b, c) {
    const termos = [
      [a, "x²"],
      [b, "x"],
      [c, ""],
    ].filter(([v]) => v !== 0);
    const texto = termos
      .map(([v, x], i) => {
        const sinal = v < 0 ? "−" : "+";
        const corpo = Math.abs(v) === 1 && x ? x : `${numero(Math.abs(v))}${x ? "·" : ""}${x}`;
        return i === 0 ? `${v < 0 ? "−" : ""}${corpo}` : ` ${sinal} ${corpo}`;
      })
      .join("");
    return `y = ${texto || "0"}`;
  }

  // Draws the equation at the figure's width: the curve, both axes where
  // they fall in the picture, a scale below, and each finite root that the
  // program printed marked on the x-axis with the text it printed.
  function desenhar() {
    if (!desenho) {
      return;
    }
    const [a, b, c] = desenho.coeficientes;
    const marcas = desenho.raizes
      .map((texto) => ({ texto, x: Number(texto) }))
      .filter((m) => Number.isFinite(m.x));
    const largura = Math.max(260, Math.round(svg.clientWidth || grafico.clientWidth || 600));
    const altura = Math.round(Math.min(420, Math.max(240, largura * 0.62)));
    svg.replaceChildren();
    svg.setAttribute("viewBox", `0 0 ${largura} ${altura}`);
    svg.setAttribute("width", largura);
    svg.setAttribute("height", altura);
    const [esq, dir, topo, base] = [12, largura - 12, 8, altura - 34];

    const [x0, x1] = janela(a, b, c, marcas.map((m) => m.x));
    const passos = 240;
    const pontos = [];
    for (let i = 0; i <= passos; ++i) {
      const x = x0 + ((x1 - x0) * i) / passos;
      pontos.push([x, a * x * x + b * x + c]);
    }
    const finitos = pontos.filter(([, y]) => Number.isFinite(y)).map(([, y]) => y);
    let y0 = Math.min(0, ...finitos);
    let y1 = Math.max(0, ...finitos);
    if (y0 === y1) {
      [y0, y1] = [-1, 1];
    }
    const folga = (y1 - y0) * 0.08;
    [y0, y1] = [y0 - folga, y1 + folga];
    const px = (x) => esq + ((x - x0) / (x1 - x0)) * (dir - esq);
    const py = (y) => topo + ((y1 - y) / (y1 - y0)) * (base - topo);
    const fixo = (v) => v.toFixed(2);

    // A scale of round numbers below, with light lines up through the picture.
    const bruto = (x1 - x0) / Math.max(3, Math.floor((dir - esq) / 90));
    const ordem = 10 ** Math.floor(Math.log10(bruto));
    const passo = ordem * ([1, 2, 5, 10].find((f) => f * ordem >= bruto) || 10);
    for (let k = Math.ceil(x0 / passo); k * passo <= x1; ++k) {
      const x = px(k * passo);
      elemento("line", { class: "grade", x1: fixo(x), x2: fixo(x), y1: topo, y2: base });
      elemento("text", { class: "escala", x: fixo(x), y: base + 20, "text-anchor": "middle" }, numero(k * passo));
    }
    elemento("rect", { class: "moldura", x: esq, y: topo, width: dir - esq, height: base - topo });
    if (x0 <= 0 && 0 <= x1) {
      elemento("line", { class: "eixo eixo-y", x1: fixo(px(0)), x2: fixo(px(0)), y1: topo, y2: base });
    }
    const eixo = py(0);
    elemento("line", { class: "eixo eixo-x", x1: esq, x2: dir, y1: fixo(eixo), y2: fixo(eixo) });
    elemento("text", { class: "escala", x: dir - 6, y: fixo(eixo + (eixo - topo > 24 ? -8 : 18)), "text-anchor": "end" }, "x");

    let caminho = "";
    let novo = true;
    for (const [x, y] of pontos) {
      if (!Number.isFinite(y)) {
        novo = true;
        continue;
      }
      const alto = Math.min(Math.max(py(y), topo - 1e4), base + 1e4);
      caminho += `${novo ? "M" : "L"}${fixo(px(x))} ${fixo(alto)} `;
      novo = false;
    }
    const curva = elemento("path", { class: "curva", d: caminho.trim() });
    const recorte = document.createElementNS(SVG, "clipPath");
    recorte.id = "recorte";
    const area = document.createElementNS(SVG, "rect");
    for (const [chave, valor] of Object.entries({ x: esq, y: topo, width: dir - esq, height: base - topo })) {
      area.setAttribute(chave, valor);
    }
    recorte.append(area);
    svg.prepend(recorte);
    curva.setAttribute("clip-path", "url(#recorte)");

    // Labels above the axis, or below it where it runs along the top; a
    // label near another is moved off it.
    const acima = eixo - topo > 40;
    const postos = [];
    for (const m of marcas) {
      const x = px(m.x);
      const degrau = postos.filter((p) => Math.abs(p - x) < 48).length;
      postos.push(x);
      const g = document.createElementNS(SVG, "g");
      g.setAttribute("class", "marca");
      svg.append(g);
      const circulo = document.createElementNS(SVG, "circle");
      for (const [chave, valor] of Object.entries({ cx: fixo(x), cy: fixo(eixo), r: 6 })) {
        circulo.setAttribute(chave, valor);
      }
      const rotulo = document.createElementNS(SVG, "text");
      const dy = (14 + 18 * degrau) * (acima ? -1 : 1) + (acima ? 0 : 10);
      const ancora = x < esq + 30 ? "start" : x > dir - 30 ? "end" : "middle";
      for (const [chave, valor] of Object.entries({ x: fixo(x), y: fixo(eixo + dy), "text-anchor": ancora })) {
        rotulo.setAttribute(chave, valor);
      }
      rotulo.textContent = m.texto;
      g.append(circulo, rotulo);
    }

    titulo.textContent = `Gráfico de ${equacao(a, b, c)}`;
    legenda.textContent =
      `A, B e C como o programa os leu; x de ${numero(x0)} a ${numero(x1)}. ` +
      `${encontro(a, b, c)} ` +
      (marcas.length
        ? `As marcas no eixo x são as raízes que o programa mostrou: ${marcas.map((m) => m.texto).join(" e ")}.`
        : "O programa não mostrou nenhuma raiz que se possa marcar no eixo.");
  }

  window.addEventListener("resize", desenhar);
  executar();
})();
