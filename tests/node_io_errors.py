#!/usr/bin/env python3
"""The web build under node must give a failed read or write its reason, as
the native program does, and never take a failed read for the end of input.

Usage: node_io_errors.py COMMAND...   (node and raizes-node.js)
"""
import subprocess
import sys

import launch

# title: (shell words before exec, standard error expected)
CASES = {
    "input is a directory": ("exec </;", "Erro: falha ao ler o valor de A: é um diretório\n"),
    "output to a full disk": ("exec >/dev/full;",
                              "Erro: falha ao escrever a saída: não há espaço no dispositivo\n"),
}

failed = 0
for title, (shell, expected) in CASES.items():
    run = launch.run(["sh", "-c", f'{shell} exec "$@"', "sh", *sys.argv[1:]], input=b"1 -3 2\n",
                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    if (run.returncode, run.stderr.decode()) != (1, expected):
        failed += 1
        print(f"FAIL {title}: status {run.returncode}, standard error {run.stderr!r}, expected {expected!r}")
print(f"{len(CASES) - failed} passed, {failed} failed")
sys.exit(1 if failed else 0)
