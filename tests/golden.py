#!/usr/bin/env python3
"""Runs raizes on every CASES/**/NAME.in and compares the whole of its output.

Usage: golden.py CASES COMMAND...   (COMMAND is the program, after an emulator if any)

NAME.out holds the exact bytes expected on standard output. Where NAME.err
exists, the run must fail with status 1 and write exactly those bytes to
standard error; otherwise it must succeed with status 0 and say nothing there.
Every case runs under the C locale. The cases named in CASES_pt_BR.txt
(beside the folder CASES, one a line, as paths under CASES without .in), those
whose bytes a locale could change (numbers read and printed, error lines),
run again under a real Brazilian Portuguese locale (decimal comma), built for
the run: the output must not depend on the locale. Where that locale cannot
be made, the C-locale runs still count, and the test reports the Portuguese
ones as skipped.

A case is added by adding files: the input, and the bytes it must give. An
.out or .err with no .in beside it fails. The folders of tests/cases:
  roots/, steps/   the arithmetic; steps/ has one case per rounding step,
                   named after it: doing that step any other way changes
                   the printed bytes.
  input/           how numbers and blanks are read.
  reader/          where a number ends, by ISO C's rule for %f: what only
                   begins a number (1e, 1e+, 0x, 0x1p, 0x.p1, infinit, nan(1)
                   is refused, nan(123) and nan() are NaN, infx is an
                   infinity and then x, and a point right after a number
                   is refused. C libraries read these otherwise, each after
                   its version.
  unreadable/      every rule of the error line.
  hidden/          both edges of every row of the quote's table of hidden
                   characters, with the characters just outside them, and
                   the combining marks first and after a letter; made by
                   tools/hidden-characters from Unicode's data, not by the
                   program.
"""
import pathlib
import sys
import tempfile

import launch
from ptlocale import environments, skipped


def main():
    cases, command = pathlib.Path(sys.argv[1]), sys.argv[2:]
    failed = passed = 0
    # An expected output with no input beside it would never be checked.
    for orphan in sorted(cases.rglob("*.out")) + sorted(cases.rglob("*.err")):
        if not orphan.with_suffix(".in").exists():
            failed += 1
            print(f"FAIL {orphan.relative_to(cases)} has no {orphan.with_suffix('.in').name}")
    listed = cases.with_name(f"{cases.name}_pt_BR.txt")
    in_portuguese = listed.read_text().split()
    for name in in_portuguese:
        if not (cases / f"{name}.in").exists():
            failed += 1
            print(f"FAIL {listed.name} names {name}, which has no {name}.in")
    with tempfile.TemporaryDirectory() as folder:
        locales, missing = environments(folder, "pt_BR.UTF-8")
        for case in sorted(cases.rglob("*.in")):
            name = case.relative_to(cases).with_suffix("").as_posix()
            out = case.with_suffix(".out").read_bytes()
            err_file = case.with_suffix(".err")
            err = err_file.read_bytes() if err_file.exists() else b""
            status = 1 if err_file.exists() else 0
            for locale, env in locales.items():
                if locale != "C" and name not in in_portuguese:
                    continue
                try:
                    run = launch.run(command, input=case.read_bytes(), capture_output=True, env=env)
                except launch.Hung as hung:
                    failed += 1
                    print(f"FAIL {name} (LC_ALL={locale}): {hung}")
                    continue
                got = (run.returncode, run.stdout, run.stderr)
                if got == (status, out, err):
                    passed += 1
                    continue
                failed += 1
                print(f"FAIL {name} (LC_ALL={locale})")
                print(f"  expected {(status, out, err)!r}")
                print(f"  got      {got!r}")
    print(f"{passed} passed, {failed} failed")
    if failed or not passed:
        return 1
    if missing:
        skipped(f"the {len(in_portuguese)} cases under pt_BR.UTF-8", missing)
    return 0


if __name__ == "__main__":
    sys.exit(main())
