#!/usr/bin/env python3
"""Installs the manuals as `cmake --install` does and reads them with man.

Usage: manuals.py CMAKE BUILD_DIR

Each manual must render with no warning from man, in the C locale and in
Portuguese, and `man raizes` must pick the Portuguese one under pt_BR.UTF-8
and the English one under C. Without man the test is skipped, and without
the Portuguese locale its runs in Portuguese are.
"""
import pathlib
import shutil
import subprocess
import sys
import tempfile

from ptlocale import environments, skipped

PAGES = {"share/man/man1/raizes.1": b"User Commands",
         "share/man/pt_BR/man1/raizes.1": "Comandos do usuário".encode()}


def main():
    cmake, build = sys.argv[1:3]
    if shutil.which("man") is None:
        skipped("every check", "needs man (Debian's man-db package)")
    failed = passed = 0

    def check(title, ok, detail=b""):
        nonlocal failed, passed
        if ok:
            passed += 1
        else:
            failed += 1
            print(f"FAIL {title}: {detail[:400]!r}")

    with tempfile.TemporaryDirectory() as folder:
        prefix = pathlib.Path(folder, "prefix")
        subprocess.run([cmake, "--install", build, "--prefix", prefix], check=True,
                       stdout=subprocess.DEVNULL)
        locales, missing = environments(folder, "pt_BR")
        for page in PAGES:
            for name, env in locales.items():
                shown = subprocess.run(["man", "--warnings", "-l", prefix / page],
                                       env=dict(env, MANWIDTH="80"), capture_output=True, check=False)
                check(f"{page} under {name}", shown.returncode == 0 and not shown.stderr,
                      shown.stderr)
        for name, page in (("C", "share/man/man1/raizes.1"),
                           ("pt_BR", "share/man/pt_BR/man1/raizes.1")):
            if name not in locales:
                continue
            env = dict(locales[name], MANPATH=str(prefix / "share/man"), MANWIDTH="80")
            shown = subprocess.run(["man", "raizes"], env=env, capture_output=True, check=False)
            first = shown.stdout.split(b"\n", 1)[0]
            check(f"man raizes under {name}", PAGES[page] in first, first + shown.stderr)
    print(f"{passed} passed, {failed} failed")
    if failed or not passed:
        return 1
    if missing:
        skipped("the checks under pt_BR.UTF-8", missing)
    return 0


if __name__ == "__main__":
    sys.exit(main())
