#!/usr/bin/env python3
"""Failures of standard input and output must end the run with status 1 and one line on standard error.

Usage: io_errors.py COMMAND...   (the program, after an emulator if any)

The reason given is the program's own Portuguese for the error that the C
library reports, never the library's English. A prompt that cannot be
written ends the run before anything more is read. A Windows program (.exe),
run under wine, is told other errors than Linux gives for the same failures.

The failures: a full disk, a file size limit, a closed pipe with SIGPIPE
ignored and not, a terminal that hung up, an unconnected socket, closed
descriptors, a directory as input. A file size limit of exactly the three
prompts' 63 bytes makes the result line alone fail.
"""
import os
import pathlib
import pty
import resource
import signal
import socket
import subprocess
import sys
import tempfile

import launch

COMMAND = sys.argv[1:]
WINDOWS = COMMAND[-1].endswith(".exe")
ANSWERS = b"1 -3 2\n"
WRITE = "Erro: falha ao escrever a saída"
READ = "Erro: falha ao ler o valor de A"
NOSPACE = "não há espaço no dispositivo"
# What wine's C library reports for most failures: EINVAL.
UNUSABLE = "o descritor não pode ser usado para isso"


def closed_pipe():
    """A pipe whose reading end is already closed."""
    reader, writer = os.pipe()
    os.close(reader)
    return writer


def hung_up_terminal():
    """A terminal whose other side has gone: writing to it fails with EIO."""
    controller, terminal = pty.openpty()
    os.close(controller)
    return terminal


def unconnected_socket():
    """A stream socket connected to nothing: writing to it fails with ENOTCONN,
    an error that read(2) and write(2) on files never report."""
    return socket.socket(socket.AF_UNIX, socket.SOCK_STREAM).detach()


# title: (shell words before exec, standard output (None: the shell's), answers,
#         (status, standard error) on Linux, and under wine). A negative status
#         is the signal that killed the program.
CASES = {
    "output to a full disk": ("exec >/dev/full;", None, ANSWERS, (1, f"{WRITE}: {NOSPACE}"),
                              (1, f"{WRITE}: {NOSPACE}")),
    "output to a full disk after an out-of-range A": (
        "exec >/dev/full;", None, b"1e39 1 1\n", (1, f"{WRITE}: {NOSPACE}"),
        (1, f"{WRITE}: {NOSPACE}")),
    "output over the file size limit": (
        'trap "" XFSZ; ulimit -f 0; exec >"$OUT";', None, ANSWERS,
        (1, f"{WRITE}: o arquivo passaria do tamanho máximo"), (1, f"{WRITE}: {UNUSABLE}")),
    "output to a closed pipe, SIGPIPE ignored": (
        'trap "" PIPE;', closed_pipe, ANSWERS, (1, f"{WRITE}: a outra ponta do pipe foi fechada"),
        (1, f"{WRITE}: {UNUSABLE}")),
    # as cat and every filter does, where a reader stops early
    "output to a closed pipe": ("", closed_pipe, ANSWERS, (-signal.SIGPIPE, ""),
                                (1, f"{WRITE}: {UNUSABLE}")),
    "output to a terminal that hung up": ("", hung_up_terminal, ANSWERS,
                                          (1, f"{WRITE}: erro de entrada e saída"),
                                          (1, f"{WRITE}: {UNUSABLE}")),
    "output to an unconnected socket": ("", unconnected_socket, ANSWERS,
                                        (1, f"{WRITE}: erro do sistema número 107"),
                                        (1, f"{WRITE}: {UNUSABLE}")),
    "output closed": ("exec >&-;", None, ANSWERS, (1, f"{WRITE}: descritor de arquivo inválido"),
                      (1, f"{WRITE}: descritor de arquivo inválido")),
    "input is a directory": ("exec </;", None, None, (1, f"{READ}: é um diretório"),
                             (1, f"{READ}: {UNUSABLE}")),
    "input closed": ("exec <&-;", None, None, (1, f"{READ}: descritor de arquivo inválido"),
                     (1, f"{READ}: {UNUSABLE}")),
}


def attempt(shell, make_output, answers, folder):
    """Runs the program as the case has it: its status, standard error, and
    how far it read its answers."""
    with tempfile.TemporaryFile(dir=folder) as given:
        given.write(answers or b"")
        given.seek(0)
        output = make_output() if make_output else None
        try:
            run = launch.run(["sh", "-c", f'{shell} exec "$@"; exit 99', "sh", *COMMAND],
                             stdin=given, stdout=output if output is not None else subprocess.DEVNULL,
                             stderr=subprocess.PIPE,
                             env=dict(os.environ, OUT=os.path.join(folder, "out")))
        finally:
            if output is not None:
                os.close(output)
        return run.returncode, run.stderr, os.lseek(given.fileno(), 0, os.SEEK_CUR)


def result_line_unwritable(folder):
    """Output to a file that takes the three prompts and not a byte more: the
    result line cannot be written, and the run must say so. None where it did."""
    out = os.path.join(folder, "full-after-prompts")
    prompts = "".join(f"Digite o Valor de {name} \n" for name in "ABC").encode()

    def limit():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (len(prompts), resource.RLIM_INFINITY))

    with open(out, "wb") as output:
        run = launch.run(COMMAND, input=ANSWERS, stdout=output, stderr=subprocess.PIPE,
                         preexec_fn=limit)
    reason = UNUSABLE if WINDOWS else "o arquivo passaria do tamanho máximo"
    expected = (1, f"{WRITE}: {reason}\n".encode(), prompts)
    got = (run.returncode, run.stderr, pathlib.Path(out).read_bytes())
    return None if got == expected else f"got {got!r}, expected {expected!r}"


failed = 0
with tempfile.TemporaryDirectory() as folder:
    try:
        problem = result_line_unwritable(folder)
    except launch.Hung as hung:
        problem = str(hung)
    if problem:
        failed += 1
        print(f"FAIL result line over the file size limit after the prompts: {problem}")
    for title, (shell, make_output, answers, linux, windows) in CASES.items():
        status, err = windows if WINDOWS else linux
        expected = (status, (err + "\n").encode() if err else b"")
        try:
            code, stderr, read = attempt(shell, make_output, answers, folder)
        except launch.Hung as hung:
            failed += 1
            print(f"FAIL {title}: {hung}")
            continue
        if (code, stderr) != expected:
            failed += 1
            print(f"FAIL {title}: status {code}, standard error {stderr!r}, expected {expected!r}")
        elif title.startswith("output") and read != 0:
            failed += 1
            print(f"FAIL {title}: read {read} bytes of input after its first prompt failed")
print(f"{len(CASES) + 1 - failed} passed, {failed} failed")
sys.exit(1 if failed else 0)
