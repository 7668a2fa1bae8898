#!/usr/bin/env python3
"""Failures of standard input and output must end the run with status 1 and one line on standard error.

Usage: io_errors.py COMMAND...   (the program, after an emulator if any)
"""
import subprocess
import sys

COMMAND = sys.argv[1:]
ANSWERS = b"1 -3 2\n"
# shell redirection, standard input, expected standard error
# The reasons are the program's own Portuguese, never the C library's English.
CASES = {
    "output to a full disk": (">/dev/full", ANSWERS,
                              "Erro: falha ao escrever a saída: não há espaço no dispositivo\n"),
    "output closed": (">&-", ANSWERS, "Erro: falha ao escrever a saída: descritor de arquivo inválido\n"),
    "input is a directory": ("</", None, "Erro: falha ao ler o valor de A: é um diretório\n"),
    "input closed": ("<&-", None, "Erro: falha ao ler o valor de A: descritor de arquivo inválido\n"),
}
failed = 0
for title, (redirect, answers, err) in CASES.items():
    run = subprocess.run(["sh", "-c", f'exec "$@" {redirect}', "sh", *COMMAND], input=answers,
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=10, check=False)
    if (run.returncode, run.stderr) != (1, err.encode()):
        failed += 1
        print(f"FAIL {title}: status {run.returncode}, standard error {run.stderr!r}")
print(f"{len(CASES) - failed} passed, {failed} failed")
sys.exit(1 if failed else 0)
