#!/usr/bin/env python3
"""Runs raizes on every CASES/**/NAME.in and compares the whole of its output.

Usage: golden.py CASES COMMAND...   (COMMAND is the program, after an emulator if any)

NAME.out holds the exact bytes expected on standard output. Where NAME.err
exists, the run must fail with status 1 and write exactly those bytes to
standard error; otherwise it must succeed with status 0 and say nothing there.
Each case runs under the C locale and under a real Brazilian Portuguese one
(decimal comma), built for the run: the output must not depend on the locale.
"""
import os
import pathlib
import subprocess
import sys
import tempfile


def portuguese(folder):
    """The environment of a pt_BR.UTF-8 locale compiled into folder.

    Without the compiled locale the C library quietly falls back to C, and the
    Portuguese half of the test could not fail, so a locale that does not take
    is an error here.
    """
    made = subprocess.run(["localedef", "-i", "pt_BR", "-f", "UTF-8", f"{folder}/pt_BR.UTF-8"],
                          capture_output=True, text=True, check=False)
    env = dict(os.environ, LOCPATH=folder, LANG="pt_BR.UTF-8", LC_ALL="pt_BR.UTF-8")
    probe = subprocess.run(["locale", "-k", "decimal_point"], env=env, capture_output=True,
                           text=True, check=False)
    if probe.stdout.strip() != 'decimal_point=","' or probe.stderr:
        sys.exit(f"cannot make the pt_BR.UTF-8 locale (Debian's 'locales' package has its"
                 f" sources): {made.stderr.strip()} {probe.stderr.strip()}")
    return env


def main():
    cases, command = pathlib.Path(sys.argv[1]), sys.argv[2:]
    with tempfile.TemporaryDirectory() as folder:
        locales = {"C": dict(os.environ, LANG="C", LC_ALL="C"), "pt_BR.UTF-8": portuguese(folder)}
        failed = passed = 0
        for case in sorted(cases.rglob("*.in")):
            out = case.with_suffix(".out").read_bytes()
            err_file = case.with_suffix(".err")
            err = err_file.read_bytes() if err_file.exists() else b""
            status = 1 if err_file.exists() else 0
            for locale, env in locales.items():
                run = subprocess.run(command, input=case.read_bytes(), capture_output=True,
                                     env=env, timeout=30, check=False)
                got = (run.returncode, run.stdout, run.stderr)
                if got == (status, out, err):
                    passed += 1
                    continue
                failed += 1
                print(f"FAIL {case.relative_to(cases)} (LC_ALL={locale})")
                print(f"  expected {(status, out, err)!r}")
                print(f"  got      {got!r}")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed or not passed else 0


if __name__ == "__main__":
    sys.exit(main())
