#!/usr/bin/env python3
"""Failures of standard input and output must end the run with status 1 and one line on standard error.

Usage: io_errors.py COMMAND...   (the program, after an emulator if any)

The reason given is the program's own Portuguese for the error that the C
library reports, never the library's English. A Windows program (.exe), run
under wine, is told other errors than Linux gives for the same failures.
"""
import subprocess
import sys

import launch

COMMAND = sys.argv[1:]
WINDOWS = COMMAND[-1].endswith(".exe")
ANSWERS = b"1 -3 2\n"
WRITE = "Erro: falha ao escrever a saída"
READ = "Erro: falha ao ler o valor de A"
# shell redirection, standard input, expected standard error on Linux and under wine
CASES = {
    "output to a full disk": (">/dev/full", ANSWERS, f"{WRITE}: não há espaço no dispositivo", WRITE),
    "output closed": (">&-", ANSWERS, f"{WRITE}: descritor de arquivo inválido",
                      f"{WRITE}: descritor de arquivo inválido"),
    "input is a directory": ("</", None, f"{READ}: é um diretório",
                             f"{READ}: o descritor não pode ser usado para isso"),
    "input closed": ("<&-", None, f"{READ}: descritor de arquivo inválido",
                     f"{READ}: o descritor não pode ser usado para isso"),
}
failed = 0
for title, (redirect, answers, linux, windows) in CASES.items():
    err = (windows if WINDOWS else linux) + "\n"
    run = launch.run(["sh", "-c", f'exec "$@" {redirect}', "sh", *COMMAND], input=answers,
                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=10)
    if (run.returncode, run.stderr) != (1, err.encode()):
        failed += 1
        print(f"FAIL {title}: status {run.returncode}, standard error {run.stderr!r}")
print(f"{len(CASES) - failed} passed, {failed} failed")
sys.exit(1 if failed else 0)
