#!/usr/bin/env python3
"""Types at raizes on a terminal, as a student does, and reads what the shell gets next.

Usage: terminal.py COMMAND...   (the program, after an emulator if any)

The program's standard input is a pseudo-terminal in line mode; its standard
output and error are pipes. Each case types its lines (one after each prompt,
or all before the first), waits for the program to end, and then reads what
is left on the terminal: the shell's, which must be exactly the line typed
ahead, never the rest of the line that the program's last read was on.
"""
import os
import pty
import select
import subprocess
import sys

import launch

PROMPT = "Digite o Valor de {} \n"
RESULT = "As raízes da equação são: 2.00 e 1.00"
SEPARATE = ' (separe os números com espaços, como em 1 -3 2)'
# title: (lines typed, whether each waits for its prompt, status, output's
# end, what the shell reads next)
CASES = {
    "text after C on its line": (["1 -3 2 = 0\n", "ahead\n"], False, 0, RESULT, b"ahead\n"),
    "one line per prompt": (["1\n", "-3\n", "2 = 0\n"], True, 0, RESULT, b""),
    "an error mid-line": (["1, -3, 2\n", "ahead\n"], False, 1, PROMPT.format("A"), b"ahead\n"),
    # Ctrl-D sends the line without a line feed: nothing more is waited for.
    "a line sent by Ctrl-D": (["1 -3 2 = 0\x04"], False, 0, RESULT, b""),
    "a line sent by Ctrl-D, another typed ahead": (["1 -3 2 = 0\x04ahead\n"], False, 0, RESULT, b"ahead\n"),
    "a long line": (["1 -3 2 " + "=" * 600 + "\n", "ahead\n"], False, 0, RESULT, b"ahead\n"),
}


def left(terminal):
    """What a reader of the terminal gets at once: at most one line."""
    ready, _, _ = select.select([terminal], [], [], 0)
    return os.read(terminal, 1024) if ready else b""


def run(lines, prompted):
    """Types LINES, each after its prompt where PROMPTED, else all at once:
    the status, the output, and what the shell reads next."""
    controller, terminal = pty.openpty()
    proc = subprocess.Popen(sys.argv[1:], stdin=terminal, stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL)
    out = b""
    try:
        for k, line in enumerate(lines):
            prompt = PROMPT.format("ABC"[k]).encode() if prompted and k < 3 else b""
            while not out.endswith(prompt):
                ready, _, _ = select.select([proc.stdout], [], [], launch.HANG)
                chunk = os.read(proc.stdout.fileno(), 1024) if ready else b""
                if not chunk:
                    raise AssertionError(f"no {prompt!r}, only {out!r}")
                out += chunk
            os.write(controller, line.encode())
        status = proc.wait(timeout=launch.HANG)
        out += proc.stdout.read()
        return status, out.decode(), left(terminal)
    finally:
        proc.kill()
        proc.wait()
        os.close(controller)
        os.close(terminal)


failed = 0
for title, (lines, prompted, status, ending, after) in CASES.items():
    try:
        got = run(lines, prompted)
    except (AssertionError, subprocess.TimeoutExpired) as problem:
        failed += 1
        print(f"FAIL {title}: {problem}")
        continue
    if got[0] != status or not got[1].endswith(ending) or got[2] != after:
        failed += 1
        print(f"FAIL {title}: status {got[0]}, output ending {got[1][-40:]!r}, the shell reads "
              f"{got[2]!r}; expected {status}, {ending!r}, {after!r}")
print(f"{len(CASES) - failed} passed, {failed} failed")
sys.exit(1 if failed else 0)
