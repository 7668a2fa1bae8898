#!/usr/bin/env python3
"""Runs tools/hidden-characters on a copy of the files it writes, from a small
made-up Unicode database whose table is not the real one: it changes all of
them or none.

Usage: all_or_nothing.py SOURCE_DIR

Where the header cannot be written (a folder stands in its place, which stops
root too) or a data file cannot be read (it is not UTF-8), the run must fail
with one line on standard error naming that file and leave every file as it
was. With neither, it must change them, or the other two could not fail.
"""
import pathlib
import shutil
import subprocess
import sys
import tempfile

DATA = {"UnicodeData.txt": b"0000;<control>;Cc\n0020;SPACE;Zs\n00A0;NO-BREAK SPACE;Zs\n",
        "DerivedCoreProperties.txt": b"# DerivedCoreProperties-15.0.0.txt\n00AD ; Default_Ignorable_Code_Point\n",
        "Blocks.txt": b"0300..036F; Combining Diacritical Marks\n"}
# Each run: what is spoilt (the header, a data file, or nothing) and the file
# the one line must name.
RUNS = {"nothing": None, "header": "hidden_characters.h", "data": "UnicodeData.txt"}


def tree(root):
    return {path: path.read_bytes() if path.is_file() else None for path in root.rglob("*")}


def main():
    source, failed = pathlib.Path(sys.argv[1]), 0
    with tempfile.TemporaryDirectory() as folder:
        for spoilt, named in RUNS.items():
            root, data = pathlib.Path(folder, spoilt), pathlib.Path(folder, f"{spoilt}-data")
            shutil.copytree(source / "tests/cases/hidden", root / "tests/cases/hidden")
            (root / "tools").mkdir()
            shutil.copy(source / "tools/hidden-characters", root / "tools")
            data.mkdir()
            for name, text in DATA.items():
                (data / name).write_bytes(b"\xff\n" if spoilt == "data" and name == named else text)
            if spoilt == "header":
                (root / "hidden_characters.h").mkdir()
            else:
                shutil.copy(source / "hidden_characters.h", root)
            before = tree(root)
            done = subprocess.run([sys.executable, root / "tools/hidden-characters", "--data", data],
                                  capture_output=True, text=True, check=False)
            lines, changed = done.stderr.splitlines(), tree(root) != before
            ok = (done.returncode == 0 and changed if named is None else done.returncode != 0 and
                  not changed and len(lines) == 1 and named in lines[0])
            failed += not ok
            print(f"{'ok' if ok else 'FAIL'} {spoilt} spoilt: status {done.returncode}, "
                  f"{'files changed' if changed else 'no file changed'}, {done.stderr.strip()!r}")
    print(f"{len(RUNS) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
