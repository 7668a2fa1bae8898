#!/usr/bin/env python3
"""Runs what README.md, LEIA-ME.txt, the manuals and the web page show, against
the program.

Usage: documents.py SOURCE_DIR PROGRAM

Each line "$ COMMAND" of an example runs under bash, with PROGRAM as
`raizes`; the lines after it, up to the next command or the example's end,
are what it must show (standard output, then standard error, each line's
trailing blanks aside). `$ raizes` alone waits for a person and is left out.
Each sentence that gives the result of three numbers ("`0 1 1` dá `-nan e
-inf`", "1 -1e6 1e4 prints 0.02") is checked by running them. The manuals
are read as man shows them; without man, they are skipped.
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
# Three numbers, maybe a remark in parentheses or between commas, a verb,
# and one root or both.
CLAIM = re.compile(rf"(?<![\w.,-])({NUMBER} {NUMBER} {NUMBER}),?(?: \([^()]*\)|, [^,.]*,)?"
                   rf" (?:it )?(?:dá|prints|mostra|shows) ({ROOT}(?: e {ROOT})?)(?!\w|\.\d)")


def examples(text):
    """(command, the lines it shows) for each "$ " line of TEXT."""
    lines = text.split("\n")
    for k, line in enumerate(lines):
        found = re.match(r"( +)\$ (.+)", line)
        if not found or found.group(2) == "raizes":
            continue
        indent, shown = found.group(1), []
        for after in lines[k + 1:]:
            if not after.startswith(indent) or after[len(indent):].startswith("$ ") or not after.strip():
                break
            shown.append(after[len(indent):].rstrip())
        yield found.group(2), shown


def claims(text):
    """(three numbers, the result given) for each sentence of TEXT that says them."""
    flat = re.sub(r"\s+", " ", text.replace("`", "").replace("**", ""))
    for found in CLAIM.finditer(flat):
        yield found.group(1), found.group(2)


def main():
    source, program = pathlib.Path(sys.argv[1]), os.path.abspath(sys.argv[2])
    texts = {name: (source / name).read_text() for name in ("README.md", "doc/LEIA-ME.txt")}
    texts["web/raizes.html"] = re.sub(r"<[^>]+>", "", (source / "web/raizes.html").read_text())
    man = shutil.which("man")
    for page in ("doc/raizes.1", "doc/pt_BR/raizes.1"):
        if man:
            texts[page] = subprocess.run([man, "-l", source / page], capture_output=True, check=True,
                                         env=dict(os.environ, LC_ALL="C.UTF-8", MANWIDTH="200")).stdout.decode()
    failed = passed = 0
    with tempfile.TemporaryDirectory() as folder:
        os.symlink(program, f"{folder}/raizes")
        env = dict(os.environ, PATH=f"{folder}:{os.environ['PATH']}", LC_ALL="C")
        for name, text in texts.items():
            problems = []
            checks = list(examples(text)) + list(claims(text))
            for command, shown in examples(text):
                run = subprocess.run(["bash", "-c", command], capture_output=True, env=env,
                                     timeout=60, check=False)
                printed = (run.stdout + b"\n" + run.stderr).decode().split("\n")
                printed = [line.rstrip() for line in printed if line.strip()]
                if printed != shown:
                    problems.append(f"$ {command}\n  shows    {shown!r}\n  printed  {printed!r}")
            for numbers, result in claims(text):
                run = subprocess.run([program], input=numbers.encode(), capture_output=True,
                                     timeout=60, check=False)
                roots = run.stdout.decode().rpartition(": ")[2]
                if result != roots and result not in roots.split(" e "):
                    problems.append(f"{numbers} gives {roots!r}, not {result!r}")
            if not checks:
                problems.append("nothing found to check")
            for problem in problems:
                print(f"FAIL {name}: {problem}")
            print(f"{name}: {len(checks)} commands and results")
            failed += len(problems)
            passed += len(checks) - len(problems)
    print(f"{passed} passed, {failed} failed")
    if failed:
        return 1
    if not man:
        skipped("the manuals", "needs man (Debian's man-db package)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
