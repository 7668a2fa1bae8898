"""A real pt_BR.UTF-8 locale for the tests, compiled into a folder of theirs.

Without the compiled locale the C library quietly falls back to C, and a test
meant to run in Portuguese could not fail, so a locale that does not take is
an error here.
"""
import os
import subprocess
import sys


def portuguese(folder):
    """The environment of a pt_BR.UTF-8 locale compiled into folder."""
    made = subprocess.run(["localedef", "-i", "pt_BR", "-f", "UTF-8", f"{folder}/pt_BR.UTF-8"],
                          capture_output=True, text=True, check=False)
    env = dict(os.environ, LOCPATH=folder, LANG="pt_BR.UTF-8", LC_ALL="pt_BR.UTF-8")
    probe = subprocess.run(["locale", "-k", "decimal_point"], env=env, capture_output=True,
                           text=True, check=False)
    if probe.stdout.strip() != 'decimal_point=","' or probe.stderr:
        sys.exit(f"cannot make the pt_BR.UTF-8 locale (Debian's 'locales' package has its"
                 f" sources): {made.stderr.strip()} {probe.stderr.strip()}")
    return env
