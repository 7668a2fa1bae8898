#!/usr/bin/env python3
"""Drives raizes through pipes the way a program answering its prompts would.

Usage: prompts.py COMMAND...   (the program, after an emulator if any)

Each answer is sent only once its prompt has arrived, so a prompt left in a
buffer shows up as a failure here (at launch.HANG, the limit that only a hang
reaches), not as a hang of the test. Each prompt must be out before the error
line that follows it, and two runs reading one pipe in turn must each solve
their own equation.
"""
import os
import select
import subprocess
import sys

import launch

COMMAND = sys.argv[1:]
PROMPT = "Digite o Valor de {} \n"
RESULT = "As raízes da equação são: {}"


class Silent(AssertionError):
    """The program wrote nothing at all: under an emulator, it may not have started."""


def read_exactly(proc, expected):
    """Reads from the program until `expected` has arrived; fails on anything else."""
    got = b""
    while len(got) < len(expected):
        ready, _, _ = select.select([proc.stdout], [], [], launch.HANG)
        chunk = os.read(proc.stdout.fileno(), len(expected) - len(got)) if ready else b""
        if not chunk:
            problem = Silent if not got and expected == PROMPT.format("A").encode() else AssertionError
            raise problem(f"waited {launch.HANG:g} s for {expected!r}, got only {got!r}" if not ready else
                          f"output ended after {got!r}, expected {expected!r}")
        got += chunk
    if got != expected:
        raise AssertionError(f"expected {expected!r}, got {got!r}")


def quiet(proc):
    """The program is waiting for input: nothing more may be written yet. (A
    look, not a wait: on a busy machine it may see less, never more.)"""
    ready, _, _ = select.select([proc.stdout], [], [], 0.2)
    if ready:
        raise AssertionError(f"wrote {os.read(proc.stdout.fileno(), 100)!r} before its answer")


def session(answers, result, status):
    """answers[i] is sent after prompt i; result is what follows the last prompt."""
    proc = subprocess.Popen(COMMAND, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL)
    try:
        for name, answer in zip("ABC", answers):
            read_exactly(proc, PROMPT.format(name).encode())
            if answer is not None:
                quiet(proc)
                proc.stdin.write(answer.encode())
                proc.stdin.flush()
        read_exactly(proc, result)
        code = proc.wait(timeout=launch.HANG)
        # What the program wrote is in the pipe once it has ended; the pipe
        # itself may stay open longer, held by a process that wine started.
        ready, _, _ = select.select([proc.stdout], [], [], 0)
        if (ready and os.read(proc.stdout.fileno(), 100) != b"") or code != status:
            raise AssertionError(f"exit status {code} or trailing output, expected {status}")
    finally:
        proc.kill()
        proc.wait()


CASES = {
    "one answer per prompt": (["1\n", "-3\n", "2\n"], RESULT.format("2.00 e 1.00").encode(), 0),
    "all three on the first line": (["1 -3 2\n", None, None], RESULT.format("2.00 e 1.00").encode(), 0),
    "unreadable answer ends the run at once": (["1\n", "x\n"], b"", 1),
}


def interleaved():
    """With both streams on one pipe, each prompt is out before the error line
    that follows it, as at a terminal: B's too, whose number is read from A's
    word with no read to flush it."""
    done = launch.run(COMMAND, input=b"1-3x\n", stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    expected = (PROMPT.format("A") + PROMPT.format("B") +
                'Erro: o valor de B não é um número: "-3x" (digite só os números: para x² - 3x + 2 = 0, '
                'digite 1 -3 2)\n').encode()
    if (done.returncode, done.stdout) != (1, expected):
        raise AssertionError(f"status {done.returncode}, {done.stdout!r}, expected {expected!r}")


def shared_pipe():
    """Two runs read one pipe in turn, as in `{ raizes; raizes; }`: the first
    reads nothing after C's word, so the second gets the next equation."""
    reader, writer = os.pipe()
    os.write(writer, b"1 -3 2 1 0\n-4\n")
    os.close(writer)
    try:
        for roots in ("2.00 e 1.00", "2.00 e -2.00"):
            done = launch.run(COMMAND, stdin=reader, capture_output=True)
            prompts = "".join(PROMPT.format(name) for name in "ABC").encode()
            if (done.returncode, done.stdout) != (0, prompts + RESULT.format(roots).encode()):
                raise AssertionError(f"status {done.returncode}, {done.stdout!r}, expected {roots}")
    finally:
        os.close(reader)


failed = 0
for title, check in (("prompt before its error line", interleaved),
                     ("two runs share one pipe", shared_pipe)):
    try:
        check()
    except (AssertionError, launch.Hung) as problem:
        failed += 1
        print(f"FAIL {title}: {problem}")
for title, (answers, result, status) in CASES.items():
    # A launch that printed nothing is tried again as launch.py has it.
    for attempt in range(launch.RETRIES + 1):
        try:
            session(answers, result, status)
            break
        except (AssertionError, subprocess.TimeoutExpired) as problem:
            if isinstance(problem, Silent) and attempt < launch.RETRIES:
                print(f"prompts.py: {problem}; trying again", file=sys.stderr)
                continue
            failed += 1
            print(f"FAIL {title}: {problem}")
            break
print(f"{len(CASES) + 2 - failed} passed, {failed} failed")
sys.exit(1 if failed else 0)
