#!/usr/bin/env python3
"""Runs tools/hidden-characters on a copy of the files it writes, from a small
made-up Unicode database whose table is not the real one, and checks that it
changes all of them or none.

Usage: all_or_nothing.py SOURCE_DIR

Where the header cannot be written (a folder stands in its place, which stops
root too) or a data file cannot be read (it is not UTF-8), the run must fail
with one line on standard error and leave every file as it was. With neither,
it must change them: otherwise the other two checks could not fail.
"""
import pathlib
import shutil
import subprocess
import sys
import tempfile

DATA = {
    "UnicodeData.txt": "0000;<control>;Cc\n0020;SPACE;Zs\n00A0;NO-BREAK SPACE;Zs\n",
    "DerivedCoreProperties.txt": "# DerivedCoreProperties-15.0.0.txt\n00AD ; Default_Ignorable_Code_Point\n",
    "Blocks.txt": "0300..036F; Combining Diacritical Marks\n",
}


def tree(root):
    """Every path under ROOT, with the bytes of each file."""
    return {path.relative_to(root): path.read_bytes() if path.is_file() else None
            for path in root.rglob("*")}


def run(source, folder, spoil):
    """The run of the tool on a fresh copy after SPOIL(root, data), and the
    copy's files before and after it."""
    root, data = folder / spoil.__name__, folder / f"{spoil.__name__}-data"
    shutil.copytree(source / "tests/cases/hidden", root / "tests/cases/hidden")
    shutil.copy(source / "hidden_characters.h", root)
    (root / "tools").mkdir()
    shutil.copy(source / "tools/hidden-characters", root / "tools")
    data.mkdir()
    for name, text in DATA.items():
        (data / name).write_text(text)
    spoil(root, data)
    before = tree(root)
    done = subprocess.run([sys.executable, root / "tools/hidden-characters", "--data", data],
                          capture_output=True, text=True, check=False)
    return done, before, tree(root)


def nothing(root, data):
    pass


def header_is_a_folder(root, data):
    (root / "hidden_characters.h").unlink()
    (root / "hidden_characters.h").mkdir()


def data_is_not_utf8(root, data):
    (data / "UnicodeData.txt").write_bytes(b"0000;<control>;Cc\n00A0;NO-BREAK\xff SPACE;Zs\n")


def main():
    source = pathlib.Path(sys.argv[1])
    failed = passed = 0

    def check(title, ok, detail):
        nonlocal failed, passed
        if ok:
            passed += 1
        else:
            failed += 1
            print(f"FAIL {title}: {detail}")

    with tempfile.TemporaryDirectory() as folder:
        done, before, after = run(source, pathlib.Path(folder), nothing)
        check("the made-up data changes the files", done.returncode == 0 and after != before,
              f"status {done.returncode}, {done.stderr}")
        for spoil, named in ((header_is_a_folder, "hidden_characters.h"),
                             (data_is_not_utf8, "UnicodeData.txt")):
            done, before, after = run(source, pathlib.Path(folder), spoil)
            lines = done.stderr.splitlines()
            check(f"{spoil.__name__}: one line naming {named}",
                  done.returncode != 0 and len(lines) == 1 and named in lines[0],
                  f"status {done.returncode}, {done.stderr}")
            changed = sorted(str(path) for path in before.keys() | after.keys()
                             if before.get(path, 0) != after.get(path, 0))
            check(f"{spoil.__name__}: nothing changed", not changed, ", ".join(changed[:5]))
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
