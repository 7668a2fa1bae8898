#!/usr/bin/env python3
"""Failures of standard input and output must end the run with status 1 and one line on standard error.

Usage: io_errors.py COMMAND...   (the program, after an emulator if any)
"""
import subprocess
import sys

COMMAND = sys.argv[1:]
ANSWERS = b"1 -3 2\n"
# shell redirection, standard input, expected standard error
CASES = {
    "output to a full disk": (">/dev/full", ANSWERS,
                              b"Erro: falha ao escrever a sa\xc3\xadda: No space left on device\n"),
    "output closed": (">&-", ANSWERS, b"Erro: falha ao escrever a sa\xc3\xadda: Bad file descriptor\n"),
    "input is a directory": ("</", None, b"Erro: falha ao ler o valor de A: Is a directory\n"),
    "input closed": ("<&-", None, b"Erro: falha ao ler o valor de A: Bad file descriptor\n"),
}
failed = 0
for title, (redirect, answers, err) in CASES.items():
    run = subprocess.run(["sh", "-c", f'exec "$@" {redirect}', "sh", *COMMAND], input=answers,
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=10, check=False)
    if (run.returncode, run.stderr) != (1, err):
        failed += 1
        print(f"FAIL {title}: status {run.returncode}, standard error {run.stderr!r}")
print(f"{len(CASES) - failed} passed, {failed} failed")
sys.exit(1 if failed else 0)
