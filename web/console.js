// SPDX-License-Identifier: MIT
// The page's side of the program's console (console_web.cpp): it hands the
// program each line typed, as UTF-8 bytes with its line feed; shows what the
// program writes, as it writes it, standard error apart; and, when the run
// ends, its outcome in sight with the next action beside it. Every run is a
// new instance of the module. Everything here is inside one function: the
// module's own script names globals of its own (out, err, ...).
/* global createRaizes, raizesExplain */
"use strict";
(() => {
  const $ = (id) => document.getElementById(id);
  const screen = $("screen");
  const form = $("form");
  const field = $("field");
  const fieldLabel = $("field-label");
  const outcome = $("outcome");
  const summary = $("summary");
  const status = $("status");
  const again = $("again");
  const steps = $("steps");
  const graph = $("graph");
  const controls = [field, $("send"), $("end"), ...document.querySelectorAll("[data-key]")];
  const encoder = new TextEncoder();

  let current = null; // the run that the page shows

  // The page's state, for the styles and for whoever waits on it (the
  // tests): loading, waiting (the program waits for a line), running, ended.
  function setState(name) {
    document.body.dataset.state = name;
  }

  function show(kind, text) {
    if (text === "") {
      return;
    }
    const part = document.createElement("span");
    part.className = kind;
    part.textContent = text;
    screen.append(part);
    screen.scrollTop = screen.scrollHeight;
  }

  // Gives the waiting read what is queued, or the end of the input; while
  // it waits, the field is named after the coefficient last asked for.
  function deliver(run) {
    if (!run.read || (run.queue.length === 0 && !run.ended)) {
      if (run.read && run === current) {
        const asked = /Digite o Valor de ([ABC]) \n$/.exec(run.out);
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
    outcome.hidden = false;
    again.hidden = false;
    summary.textContent = message;
  }

  function start() {
    const run = {
      queue: new Uint8Array(0),
      ended: false,
      read: null,
      out: "",
      decoders: { 1: new TextDecoder(), 2: new TextDecoder() },
      values: null,
    };
    current = run;
    screen.textContent = "";
    summary.textContent = "";
    status.textContent = "";
    outcome.hidden = true;
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
      again.hidden = true;
      return;
    }
    enable(true);
    const write = (fd, text) => {
      if (run === current) {
        show(fd === 2 ? "err" : "out", text);
      }
      if (fd === 1) {
        run.out += text;
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
    const bottom = again.hidden ? summary.getBoundingClientRect().bottom : again.getBoundingClientRect().bottom;
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
    const { title, caption } = raizesExplain.draw(current, width);
    $("graph-title").textContent = title;
    $("caption").textContent = caption;
  }

  // What was typed goes to the program as a line, and stays on the screen.
  form.addEventListener("submit", (event) => {
    event.preventDefault();
    if (!current || current.ended) {
      return;
    }
    const line = `${field.value}\n`;
    field.value = "";
    show("echo", line);
    enqueue(current, line);
    deliver(current);
    field.focus();
  });

  // As Ctrl-D at a terminal: what is typed goes without a line feed, and
  // then the input ends.
  function endInput() {
    if (!current || current.ended) {
      return;
    }
    if (field.value !== "") {
      show("echo", field.value);
      enqueue(current, field.value);
      field.value = "";
    }
    show("note", "\n(entrada encerrada)\n");
    current.ended = true;
    deliver(current);
  }
  $("end").addEventListener("click", endInput);
  field.addEventListener("keydown", (event) => {
    if (event.ctrlKey && !event.altKey && event.key.toLowerCase() === "d") {
      event.preventDefault();
      endInput();
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

  again.addEventListener("click", start);
  window.addEventListener("resize", redraw);
  start();
})();
