#!/usr/bin/env python3
"""Runs what README.md and the manuals show.

Usage: documents.py SOURCE_DIR PROGRAM

Each "$ COMMAND" line of an example runs under bash, with PROGRAM as
`raizes` (`$ raizes` alone waits for a person); the lines after it, to the
next command or a blank line, are what it must print, each line's trailing
blanks aside. Each sentence that gives the result of three numbers ("`0 1 1`
dá `-nan e -inf`", "1 -1e6 1e4 prints 0.02") is checked by running them.
The manuals are read as man shows them; without man they are skipped.
A claim written another way is not seen: keep to those two forms. Native
builds only, since the examples call the program by name.
"""
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

from ptlocale import skipped

NUMBER = r"[-+]?(?:\d[\d.]*(?:e[-+]?\d+)?|nan|inf)"
ROOT = r"-?(?:\d+\.\d\d|inf|nan)"
# Three numbers, maybe a remark in parentheses or between commas, a verb, and
# one root or both.
CLAIM = re.compile(rf"(?<![\w.,-])({NUMBER} {NUMBER} {NUMBER}),?(?: \([^()]*\)|, [^,.]*,)?"
                   rf" (?:it )?(?:dá|prints|mostra|shows) ({ROOT}(?: e {ROOT})?)(?!\w|\.\d)")
EXAMPLE = re.compile(r"^( +)\$ (?!raizes\n)(.+)\n((?:\1(?!\$ ).*\S.*\n)*)", re.M)


def main():
    source, program = pathlib.Path(sys.argv[1]), os.path.abspath(sys.argv[2])
    texts = {"README.md": (source / "README.md").read_text()}
    for page in ("doc/raizes.1", "doc/pt_BR/raizes.1") if shutil.which("man") else ():
        texts[page] = subprocess.run(["man", "-l", source / page], capture_output=True, check=True,
                                     env=dict(os.environ, LC_ALL="C.UTF-8", MANWIDTH="200")).stdout.decode()
    failed = checked = 0
    with tempfile.TemporaryDirectory() as folder:
        os.symlink(program, f"{folder}/raizes")
        env = dict(os.environ, PATH=f"{folder}:{os.environ['PATH']}", LC_ALL="C")
        for name, text in texts.items():
            checks = 0
            for indent, command, shown in EXAMPLE.findall(text):
                done = subprocess.run(["bash", "-c", command], capture_output=True, env=env, timeout=60)
                printed = [line.rstrip() for line in (done.stdout + b"\n" + done.stderr).decode()
                           .split("\n") if line.strip()]
                expected = [line[len(indent):].rstrip() for line in shown.splitlines()]
                checks += 1
                if printed != expected:
                    failed += 1
                    print(f"FAIL {name}: $ {command}\n  shows    {expected!r}\n  printed  {printed!r}")
            flat = re.sub(r"\s+", " ", text.replace("`", "").replace("**", ""))
            for numbers, result in CLAIM.findall(flat):
                roots = subprocess.run([program], input=numbers.encode(), capture_output=True,
                                       timeout=60).stdout.decode().rpartition(": ")[2]
                checks += 1
                if result != roots and result not in roots.split(" e "):
                    failed += 1
                    print(f"FAIL {name}: {numbers} gives {roots!r}, not {result!r}")
            if not checks:
                failed += 1
                print(f"FAIL {name}: nothing found to check")
            checked += checks
            print(f"{name}: {checks} commands and results")
    print(f"{checked - failed} passed, {failed} failed")
    if failed:
        return 1
    if not shutil.which("man"):
        skipped("the manuals", "needs man (Debian's man-db package)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
