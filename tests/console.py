#!/usr/bin/env python3
"""Types at raizes.exe on a console, as a Windows user at cmd does, and reads the screen.

Usage: console.py COMMAND...   (wine and the program: the Windows build only)

wine makes a console of a pseudo-terminal: the program's standard input,
output and error are put on one, keys are typed into it once the console is
ready for them (wine has taken the terminal out of line mode, and the prompt
has come), and what wine shows there is compared, once the terminal's escape
sequences are taken out and every run of blanks is made one blank (wine moves
the cursor over blanks instead of writing them), with what a console must
show. wine writes the
console in the terminal's character set, so the terminal is UTF-8.
"""
import fcntl
import os
import pathlib
import pty
import re
import select
import shutil
import struct
import subprocess
import sys
import tempfile
import termios
import time

import launch

COMMAND = sys.argv[1:]
WINE, EXE = COMMAND[:-1], pathlib.Path(COMMAND[-1]).resolve()
PROMPT = "Digite o Valor de {} "
ERROR = 'Erro: o valor de A não é um número: "três"'
CODE_PAGE = re.compile(r"Active code page: (\d+)")


def screen(raw):
    """What a console shows, from what wine wrote to the terminal."""
    text = raw.decode("utf-8", errors="replace")
    text = re.sub(r"\x1b\[(\d*)C", lambda m: " " * int(m.group(1) or 1), text)
    text = re.sub(r"\x1b\[[0-?]*[ -/]*[@-~]|\x1b\][^\x07\x1b]*(?:\x07|\x1b\\)", "", text)
    return " ".join(text.split())


def session(command, keys, ready, folder):
    """Runs COMMAND on a new console in FOLDER, types KEYS once READY(screen,
    folder) holds and wine reads the terminal key by key, and returns its exit
    status and what the console showed; raises launch.Hung where it does not
    end within launch.HANG seconds."""
    controller, terminal = pty.openpty()
    # Ctrl-Z is a character on a Windows console; on a Linux terminal it would
    # stop the process instead.
    attributes = termios.tcgetattr(terminal)
    attributes[6][termios.VSUSP] = 0
    termios.tcsetattr(terminal, termios.TCSANOW, attributes)
    # Wide enough that no line of the program's wraps.
    fcntl.ioctl(terminal, termios.TIOCSWINSZ, struct.pack("HHHH", 50, 200, 0, 0))
    env = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8")
    proc = subprocess.Popen(command, stdin=terminal, stdout=terminal, stderr=terminal, cwd=folder,
                            env=env, start_new_session=True)
    os.close(terminal)
    shown = b""
    deadline = time.monotonic() + launch.HANG
    try:
        while True:
            # Keys typed while the terminal is still in line mode would be
            # echoed and changed by it before wine saw them.
            if keys and ready(screen(shown), folder) and not \
                    termios.tcgetattr(controller)[3] & termios.ICANON:
                os.write(controller, keys.encode())
                keys = ""
            left = deadline - time.monotonic()
            if left <= 0:
                raise launch.Hung(f"{command[-1]} did not end within {launch.HANG:g} s, "
                                  f"showing {screen(shown)!r}")
            # Until the keys are typed, the terminal's mode is looked at
            # again every 10 ms: no event tells when wine changes it.
            readable, _, _ = select.select([controller], [], [], min(left, 0.01 if keys else 1))
            if readable:
                try:
                    chunk = os.read(controller, 4096)
                except OSError:  # the console is gone: the program has ended
                    break
                shown += chunk
            elif proc.poll() is not None:
                break
        return proc.wait(timeout=launch.HANG), screen(shown)
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()
        os.close(controller)


def show(command, keys, ready, folder):
    """session(), tried again where wine showed nothing at all (tests/launch.py)."""
    for _ in range(launch.RETRIES):
        status, shown = session(command, keys, ready, folder)
        if shown:
            return status, shown
        print(f"console.py: {command[-1]} showed nothing; trying again", file=sys.stderr)
    return session(command, keys, ready, folder)


def prompted(screen_text, _folder):
    """The first prompt is on the screen."""
    return PROMPT.format("A").strip() in screen_text


def prompted_in_file(_screen_text, folder):
    """The first prompt has reached out.txt."""
    path = pathlib.Path(folder) / "out.txt"
    return path.exists() and path.read_bytes() == PROMPT.format("A").encode() + b"\n"


def prompts(*names):
    return " ".join(PROMPT.format(name).strip() for name in names)


# title: (command after wine, keys typed, status, what the console shows)
CASES = {
    "1 -3 2 typed": ([str(EXE)], "1 -3 2\r", 0,
                     f"{prompts('A')} 1 -3 2 {prompts('B', 'C')} "
                     "As raízes da equação são: 2.00 e 1.00"),
    "1 -3 2 = 0 typed": ([str(EXE)], "1 -3 2 = 0\r", 0,
                         f"{prompts('A')} 1 -3 2 = 0 {prompts('B', 'C')} "
                         'Aviso: o resto da linha depois do valor de C foi ignorado: "= 0" '
                         "As raízes da equação são: 2.00 e 1.00"),
    "três typed": ([str(EXE)], "três\r", 1, f"{prompts('A')} três {ERROR}"),
    "2,5 typed": ([str(EXE)], "2,5\r", 1,
                  f"{prompts('A')} 2,5 Erro: o valor de A não é um número: \"2,5\" "
                  "(use ponto como separador decimal, como em 2.5)"),
    "Ctrl-Z then Enter typed": ([str(EXE)], "\x1a\r", 1,
                                f"{prompts('A')} ^Z Erro: a entrada terminou antes do valor de A"),
    "output to a file": (["cmd", "/c", "raizes.exe > out.txt"], "três\r", 1,
                         f"três {ERROR}"),
}
# title: (keys typed, what the program shows between the two chcp lines)
CODE_PAGE_CASES = {
    "code page kept after a success": ("1 -3 2\r", "As raízes da equação são: 2.00 e 1.00"),
    "code page kept after an error": ("três\r", ERROR),
}


def check(title, folder):
    if title in CASES:
        command, keys, status, expected = CASES[title]
        ready = prompted_in_file if command[0] == "cmd" else prompted
        got = show([*WINE, *command], keys, ready, folder)
        # The whole screen, so no replacement character (U+FFFD) either.
        if got != (status, expected):
            return f"showed {got!r}, expected {(status, expected)!r}"
        if command[0] == "cmd":
            written = (pathlib.Path(folder) / "out.txt").read_bytes()
            if written != PROMPT.format("A").encode() + b"\n":
                return f"out.txt holds {written!r}"
        return None
    keys, expected = CODE_PAGE_CASES[title]
    command = ["cmd", "/c", "chcp & raizes.exe & chcp"]
    status, shown = show([*WINE, *command], keys, prompted, folder)
    pages = CODE_PAGE.findall(shown)
    if len(pages) != 2 or pages[0] != pages[1] or expected not in shown:
        return f"showed {shown!r}: code pages {pages}, expected the same twice around {expected!r}"
    return None


failed = 0
for title in [*CASES, *CODE_PAGE_CASES]:
    with tempfile.TemporaryDirectory() as folder:
        # cmd finds the program in its own folder, with no path to quote.
        shutil.copy(EXE, pathlib.Path(folder) / "raizes.exe")
        try:
            problem = check(title, folder)
        except launch.Hung as hung:
            problem = str(hung)
    if problem:
        failed += 1
        print(f"FAIL {title}: {problem}")
print(f"{len(CASES) + len(CODE_PAGE_CASES) - failed} passed, {failed} failed")
sys.exit(1 if failed else 0)
