#!/usr/bin/env python3
"""Types at raizes on a terminal, as a student does, and reads what the shell gets next.

Usage: terminal.py COMMAND...   (the program, after an emulator if any)

The program's standard input is a pseudo-terminal in line mode; its standard
output and error are one pipe, so that their order shows. Each case types its
lines in one of four ways: one after each prompt ("prompted"); all after the
first prompt ("after A"); all before the program starts, waiting for it
("ahead"); or pasted while the terminal is raw, as a shell's editor has it,
and left waiting when line mode comes back ("raw"). It then waits for the
program to end, and reads what is left on the terminal: the shell's, which
must be exactly the line typed after, never the rest of the line that the
program's last read was on.
"""
import fcntl
import os
import pty
import resource
import select
import signal
import struct
import subprocess
import sys
import tempfile
import termios
import tty

import launch

PROMPT = "Digite o Valor de {} \n"
PROMPTS = "".join(PROMPT.format(name) for name in "ABC")
RESULT = "As raízes da equação são: 2.00 e 1.00"
NOTICE = 'Aviso: o resto da linha depois do valor de C foi ignorado: "{}"\n'
# title: (lines typed, how, status, output's end, what the shell reads next)
CASES = {
    "text after C on its line": (["1 -3 2 = 0\n", "ahead\n"], "after A", 0,
                                 PROMPTS + NOTICE.format("= 0") + RESULT, b"ahead\n"),
    "one line per prompt": (["1\n", "-3\n", "2 = 0\n"], "prompted", 0,
                            NOTICE.format("= 0") + RESULT, b""),
    "C's line ends after C": (["1 -3 2 \t\n"], "after A", 0, PROMPTS + RESULT, b""),
    "an error mid-line": (["1, -3, 2\n", "ahead\n"], "after A", 1, "espaços)\n", b"ahead\n"),
    # Ctrl-D sends the line without a line feed: nothing more is waited for.
    "a line sent by Ctrl-D": (["1 -3 2 = 0\x04"], "after A", 0, NOTICE.format("= 0") + RESULT, b""),
    "a line sent by Ctrl-D, another typed after": (
        ["1 -3 2 = 0\x04ahead\n"], "after A", 0, RESULT, b"ahead\n"),
    "a line sent by Ctrl-D read to its last byte": (
        ["1 -3 2 \x04ahead\n"], "after A", 0, PROMPTS + RESULT, b"ahead\n"),
    "Ctrl-D at a line's start, a line typed ahead": (
        ["\x04ahead\n"], "ahead", 1, "antes do valor de A\n", b"ahead\n"),
    "a long line": (["1 -3 2 " + "=" * 600 + "\n", "ahead\n"], "after A", 0,
                    NOTICE.format("=" * 40 + "…") + RESULT, b"ahead\n"),
    "pasted raw": (["1 -3 2\r", "echo AHEAD\r"], "raw", 0, PROMPTS + RESULT, b"echo AHEAD\r"),
    "pasted raw, an error mid-line": (["1,5 -3 2\r", "echo AHEAD\r"], "raw", 1, "2.5)\n",
                                      b"echo AHEAD\r"),
    "pasted raw, no line end": (["1 -3 2 = 0"], "raw", 0, NOTICE.format("= 0") + RESULT, b""),
}


def queue(controller, terminal, text, raw):
    """Types TEXT before the program starts, raw as a shell's editor reads it
    or in line mode, and waits until it all waits on the terminal."""
    mode = termios.tcgetattr(terminal)
    if raw:
        tty.setraw(terminal)
    os.write(controller, text)
    waiting = len(text) - text.count(b"\x04")
    while struct.unpack("i", fcntl.ioctl(terminal, termios.FIONREAD, b"\0" * 4))[0] < waiting:
        select.select([terminal], [], [], launch.HANG)
    termios.tcsetattr(terminal, termios.TCSANOW, mode)


def left(terminal):
    """What a reader of the terminal gets at once: at most one line."""
    ready, _, _ = select.select([terminal], [], [], 0)
    return os.read(terminal, 1024) if ready else b""


def run(lines, how, stdout=subprocess.PIPE, preexec_fn=None):
    """Types LINES as HOW says: the status, the output, and what the shell
    reads next."""
    controller, terminal = pty.openpty()
    if how in ("ahead", "raw"):
        queue(controller, terminal, "".join(lines).encode(), how == "raw")
    proc = subprocess.Popen(sys.argv[1:], stdin=terminal, stdout=stdout,
                            stderr=subprocess.STDOUT, preexec_fn=preexec_fn)
    out = b""
    try:
        for k, line in enumerate(lines if how in ("prompted", "after A") else []):
            prompt = PROMPT.format("ABC"[k]).encode() if how == "prompted" or k == 0 else b""
            while proc.stdout and not out.endswith(prompt):
                ready, _, _ = select.select([proc.stdout], [], [], launch.HANG)
                chunk = os.read(proc.stdout.fileno(), 1024) if ready else b""
                if not chunk:
                    raise AssertionError(f"no {prompt!r}, only {out!r}")
                out += chunk
            os.write(controller, line.encode())
        status = proc.wait(timeout=launch.HANG)
        out += proc.stdout.read() if proc.stdout else b""
        return status, out.decode(), left(terminal)
    finally:
        proc.kill()
        proc.wait()
        os.close(controller)
        os.close(terminal)


def limited():
    """Standard output may hold the first prompt, no more: the second fails."""
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    size = len(PROMPT.format("A"))
    resource.setrlimit(resource.RLIMIT_FSIZE, (size, size))


def unwritable():
    """A prompt that cannot be written still drops the rest of its line."""
    with tempfile.TemporaryFile() as out:
        got = run(["1 -3 2 = 0\nahead\n"], "ahead", stdout=out, preexec_fn=limited)
        out.seek(0)
        written = out.read().decode()
    expected = (1, "", b"ahead\n")
    if got != expected or written != PROMPT.format("A"):
        return f"status, output, the shell reads {got!r}, the file {written!r}; expected {expected!r}"
    return None


failed = 0
for title, (lines, how, status, ending, after) in CASES.items():
    try:
        got = run(lines, how)
    except (AssertionError, subprocess.TimeoutExpired) as problem:
        failed += 1
        print(f"FAIL {title}: {problem}")
        continue
    if got[0] != status or not got[1].endswith(ending) or got[2] != after:
        failed += 1
        print(f"FAIL {title}: status {got[0]}, output ending {got[1][-80:]!r}, the shell reads "
              f"{got[2]!r}; expected {status}, {ending!r}, {after!r}")
problem = unwritable()
if problem:
    failed += 1
    print(f"FAIL a prompt that cannot be written: {problem}")
print(f"{len(CASES) + 1 - failed} passed, {failed} failed")
sys.exit(1 if failed else 0)
