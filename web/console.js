// SPDX-License-Identifier: MIT
// The page's side of the program's console (console_web.cpp): it hands the
// program each line typed, as UTF-8 bytes with its line feed; shows what the
// program writes, as it writes it, standard error apart; and, when the run
// ends, its outcome in sight with the next action beside it. Every run is a
// new instance of the module. Everything here is inside one function: the
// module's own script names globals of its own (out, err, ...).
/* global createRaizes, raizesExplain, raizesGraph */
"use strict";
(() => {
  const $ = (id) => document.getElementById(id);
  const screen = $("screen");
  const form = $("form");
  const field = $("field");
  const fieldLabel = $("field-label");
  const summary = $("summary");
  const status = $("status");
  const next = $("next");
  const again = $("again");
  const copy = $("copy");
  const linkField = $("link");
  const steps = $("steps");
  const graph = $("graph");
  const controls = [field, $("send"), $("end"), ...document.querySelectorAll("[data-key]")];
  const encoder = new TextEncoder();

  let current = null; // the run that the page shows
  // The values a link gives for the first run, by the prompt each answers.
  const query = new URLSearchParams(window.location.search);
  let linked = Object.fromEntries(["A", "B", "C"].map((x) => [x, query.get(x.toLowerCase())]));
  // The lines typed before, oldest first, for ↑ and ↓ (in memory only);
  // RECALLED is the one in the field, and DRAFT what was typed before ↑.
  const history = [];
  let recalled = 0;
  let draft = "";

  // The page's state, for the styles and for whoever waits on it (the
  // tests): loading, waiting (the program waits for a line), running, ended.
  function setState(name) {
    document.body.dataset.state = name;
  }

  // TEXT into ELEMENT, each of the program's printed values in it kept on
  // one line (-inf, not - and inf).
  function fill(element, text) {
    element.textContent = "";
    for (const [i, piece] of text.split(/(-?(?:\d+\.\d\d|inf|nan)(?![\w.]))/).entries()) {
      if (i % 2) {
        const value = document.createElement("span");
        value.className = "value";
        value.textContent = piece;
        element.append(value);
      } else if (piece) {
        element.append(piece);
      }
    }
  }

  function show(kind, text) {
    if (text === "") {
      return;
    }
    const part = document.createElement("span");
    part.className = kind;
    fill(part, text);
    screen.append(part);
    screen.scrollTop = screen.scrollHeight;
  }

  // Gives the waiting read what is queued, or the end of the input; while
  // it waits, the field is named after the coefficient last asked for.
  function deliver(run) {
    if (!run.read || (run.queue.length === 0 && !run.ended)) {
      if (run.read && run === current) {
        const asked = /Digite o Valor de ([ABC]) \n$/.exec(run.out);
        const given = asked && run.linked && run.linked[asked[1]];
        if (typeof given === "string") {
          // Typed as a student would, once.
          run.linked[asked[1]] = null;
          send(run, `${given}\n`);
          return;
        }
        fieldLabel.textContent = asked ? `Valor de ${asked[1]}` : "Sua resposta";
        setState("waiting");
      }
      return;
    }
    const { size, resolve } = run.read;
    const part = run.queue.slice(0, size);
    run.queue = run.queue.slice(part.length);
    run.read = null;
    if (run === current) {
      setState("running");
    }
    resolve(part);
  }

  // TEXT goes to the program as typed, and stays on the screen.
  function send(run, text) {
    show("echo", text);
    run.typed += text;
    enqueue(run, text);
    deliver(run);
  }

  function enqueue(run, text) {
    const bytes = encoder.encode(text);
    const queue = new Uint8Array(run.queue.length + bytes.length);
    queue.set(run.queue);
    queue.set(bytes, run.queue.length);
    run.queue = queue;
  }

  function enable(on) {
    for (const control of controls) {
      control.disabled = !on;
    }
  }

  // Ends the run on the page: the controls off, and MESSAGE (or the
  // outcome of RUN) where the next action is.
  function finish(message) {
    enable(false);
    setState("ended");
    next.hidden = false;
    fill(summary, message);
  }

  function start() {
    const run = {
      queue: new Uint8Array(0),
      ended: false,
      read: null,
      out: "",
      errors: "",
      typed: "",
      linked,
      decoders: { 1: new TextDecoder(), 2: new TextDecoder() },
      values: null,
    };
    current = run;
    linked = null;
    recalled = history.length;
    screen.textContent = "";
    summary.textContent = "";
    status.textContent = "";
    next.hidden = true;
    linkField.hidden = true;
    copy.hidden = false;
    steps.hidden = true;
    graph.hidden = true;
    field.value = "";
    fieldLabel.textContent = "Valor de A";
    setState("loading");
    if (typeof WebAssembly !== "object") {
      finish(
        "Este navegador não executa WebAssembly, de que o programa precisa: talvez esteja " +
          "desligado nas configurações. Ligue-o, ou use outro navegador.",
      );
      next.hidden = true;
      return;
    }
    enable(true);
    const write = (fd, text) => {
      if (run === current) {
        show(fd === 2 ? "err" : "out", text);
      }
      if (fd === 1) {
        run.out += text;
      } else {
        run.errors += text;
      }
    };
    createRaizes({
      raizesRead: (size) =>
        new Promise((resolve) => {
          run.read = { size, resolve };
          deliver(run);
        }),
      raizesWrite: (fd, bytes) => write(fd, run.decoders[fd].decode(bytes, { stream: true })),
      raizesSolved: (a, b, c, delta, x1, x2) => {
        run.values = { a, b, c, delta, x1, x2 };
      },
    })
      .then((module) => {
        if (run === current) {
          setState("running");
        }
        return module.ccall("main", "number", [], [], { async: true });
      })
      .then(
        (code) => {
          for (const fd of [1, 2]) {
            write(fd, run.decoders[fd].decode());
          }
          ended(run, code);
        },
        (error) => {
          if (run === current) {
            // A browser older than 'wasm-unsafe-eval' (Chrome 97, Firefox 102,
            // Safari 16) may not compile the program under the page's policy.
            finish(
              /CompileError|unsafe-eval/.test(String(error))
                ? "Este navegador é antigo demais para executar o programa: use o Chrome ou " +
                    "o Edge 97, o Firefox 102, o Safari 16 ou uma versão mais nova."
                : `O programa parou com um erro interno: ${error}`,
            );
          }
        },
      );
    field.focus();
  }

  // The run's last lines, the sentence under them and "Executar de novo"
  // on the screen together, or as much of them from the top as fits.
  function reveal() {
    screen.scrollTop = screen.scrollHeight;
    const last = screen.lastElementChild || screen;
    const view = window.visualViewport ? window.visualViewport.height : window.innerHeight;
    const top = Math.max(last.getBoundingClientRect().top, screen.getBoundingClientRect().top);
    const bottom = (next.hidden ? summary : again).getBoundingClientRect().bottom;
    const margin = 8;
    if (bottom - top + 2 * margin > view || top < margin) {
      window.scrollBy(0, top - margin);
    } else if (bottom + margin > view) {
      window.scrollBy(0, bottom + margin - view);
    }
  }

  function ended(run, code) {
    if (run !== current) {
      return;
    }
    const result = /As raízes da equação são: (\S+) e (\S+)$/.exec(run.out);
    run.status = code;
    run.printed = result ? [result[1], result[2]] : null;
    status.textContent = `Status de saída: ${code}`;
    try {
      explain(run, code, result);
    } catch (error) {
      // The run has ended all the same, and its own lines stand above.
      finish(`A página não conseguiu explicar o resultado acima: ${error}`);
    }
    again.focus({ preventScroll: true });
    reveal();
  }

  // The sentence, the steps and the graph of an ended run.
  function explain(run, code, result) {
    const drawn = code === 0 && result && run.values && [run.values.a, run.values.b, run.values.c].every(Number.isFinite);
    finish(code === 0 && !result ? "O programa terminou sem mostrar as raízes." : raizesExplain.summary(run));
    if (code === 0 && result && run.values) {
      const list = steps.querySelector("ol");
      list.replaceChildren(
        ...raizesExplain.steps(run).map((text) => {
          const item = document.createElement("li");
          item.textContent = text;
          return item;
        }),
      );
      steps.hidden = false;
    }
    if (drawn) {
      graph.hidden = false;
      redraw();
      summary.append(" ", link("#graph", "O gráfico da equação está abaixo."));
    }
  }

  function link(href, text) {
    const a = document.createElement("a");
    a.href = href;
    a.textContent = text;
    return a;
  }

  function redraw() {
    if (graph.hidden || !current || !current.values) {
      return;
    }
    const width = Math.max(280, Math.round(graph.clientWidth - 2 * 16 || 600));
    // The whole graph with its scale in the screen's height, even on a
    // phone on its side.
    const height = Math.round(Math.max(160, Math.min(440, width * 0.7, window.innerHeight * 0.75)));
    const { title, caption, name } = raizesGraph.draw(current, width, height);
    $("graph-title").textContent = title;
    $("caption").textContent = caption;
    $("curve").setAttribute("aria-label", name);
  }

  // What was typed goes to the program as a line, and stays on the screen.
  form.addEventListener("submit", (event) => {
    event.preventDefault();
    if (!current || current.ended) {
      return;
    }
    remember(field.value);
    const line = `${field.value}\n`;
    field.value = "";
    send(current, line);
    field.focus();
  });

  // As Ctrl-D at a terminal: what is typed goes without a line feed, and
  // then the input ends.
  function endInput() {
    if (!current || current.ended) {
      return;
    }
    remember(field.value);
    current.ended = true;
    if (field.value !== "") {
      show("echo", field.value);
      current.typed += field.value;
      enqueue(current, field.value);
      field.value = "";
    }
    show("note", "\n(entrada encerrada)\n");
    deliver(current);
  }
  $("end").addEventListener("click", endInput);
  field.addEventListener("keydown", (event) => {
    if (event.ctrlKey && !event.altKey && event.key.toLowerCase() === "d") {
      event.preventDefault();
      endInput();
    } else if ((event.key === "ArrowUp" && recalled > 0) || (event.key === "ArrowDown" && recalled < history.length)) {
      event.preventDefault();
      if (recalled === history.length) {
        draft = field.value;
      }
      recalled += event.key === "ArrowUp" ? -1 : 1;
      field.value = recalled === history.length ? draft : history[recalled];
    }
  });

  function remember(line) {
    if (line !== "") {
      history.push(line);
    }
    recalled = history.length;
    draft = "";
  }

  // The run's link: its coefficients as the program read them, or where
  // it refused one, the first three words typed.
  function runLink(run) {
    const short = (v) => {
      if (!Number.isFinite(v)) {
        return Number.isNaN(v) ? "nan" : v < 0 ? "-inf" : "inf";
      }
      let digits = 1;
      while (Math.fround(Number(v.toPrecision(digits))) !== v) {
        ++digits;
      }
      return Object.is(v, -0) ? "-0" : String(Number(v.toPrecision(digits)));
    };
    const values = run.values ? [run.values.a, run.values.b, run.values.c].map(short) : run.typed.split(/\s+/).filter(Boolean);
    const query = new URLSearchParams();
    values.slice(0, 3).forEach((v, i) => query.set("abc"[i], v));
    return `${window.location.href.replace(/[?#].*/s, "")}?${query}`;
  }

  // Into the clipboard, or, where the browser keeps it shut (a file's
  // page in some), selected in a field, to be copied by hand.
  copy.addEventListener("click", () => {
    const url = runLink(current);
    const byHand = () => {
      linkField.value = url;
      linkField.hidden = false;
      linkField.focus();
      linkField.select();
    };
    if (navigator.clipboard && navigator.clipboard.writeText) {
      navigator.clipboard.writeText(url).then(() => {
        copy.textContent = "Link copiado";
      }, byHand);
    } else {
      byHand();
    }
  });

  // Signs that a phone's numeric keyboard may lack, typed where the cursor is.
  for (const key of document.querySelectorAll("[data-key]")) {
    key.addEventListener("click", () => {
      const from = field.selectionStart ?? field.value.length;
      const to = field.selectionEnd ?? from;
      field.setRangeText(key.dataset.key, from, to, "end");
      field.focus();
    });
  }

  again.addEventListener("click", () => {
    copy.textContent = "Copiar link";
    start();
  });
  window.addEventListener("resize", redraw);
  start();
})();
