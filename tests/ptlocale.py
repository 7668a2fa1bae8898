"""A real pt_BR.UTF-8 locale for the tests, compiled into a folder of theirs,
and the way a test says that it lacks something.

Without the compiled locale the C library quietly falls back to C, and a test
meant to run in Portuguese could not fail; so a locale that does not take is
never used, and the runs that need it are reported as skipped.
"""
import os
import subprocess
import sys

# The exit status of a test that could not run all of its checks, as CTest's
# SKIP_RETURN_CODE takes it; a strict build counts it as a failure.
SKIPPED = 77


def portuguese(folder):
    """(the environment of a pt_BR.UTF-8 locale compiled into folder, None),
    or (None, what is missing)."""
    try:
        made = subprocess.run(["localedef", "-i", "pt_BR", "-f", "UTF-8",
                               f"{folder}/pt_BR.UTF-8"], capture_output=True, text=True, check=False)
    except FileNotFoundError:
        return None, "needs localedef (the C library's tools) to make the pt_BR.UTF-8 locale"
    env = dict(os.environ, LOCPATH=folder, LANG="pt_BR.UTF-8", LC_ALL="pt_BR.UTF-8")
    probe = subprocess.run(["locale", "-k", "decimal_point"], env=env, capture_output=True,
                           text=True, check=False)
    if probe.stdout.strip() != 'decimal_point=","' or probe.stderr:
        return None, (f"needs the sources of the pt_BR.UTF-8 locale (Debian's 'locales' package):"
                      f" {made.stderr.strip()} {probe.stderr.strip()}".strip())
    return env, None


def environments(folder, name):
    """({"C": its environment, NAME: pt_BR.UTF-8's where it can be made},
    None or what pt_BR.UTF-8 lacks)."""
    made = {"C": dict(os.environ, LANG="C", LC_ALL="C")}
    env, missing = portuguese(folder)
    if env is not None:
        made[name] = env
    return made, missing


def skipped(what, why):
    """Ends a test that passed all it could run, saying what it skipped and why;
    a failure where the build's tests are strict (RAIZES_STRICT_TESTS=ON)."""
    if os.environ.get("RAIZES_STRICT_TESTS") == "ON":
        print(f"FAIL {what}: {why}; the build's tests are strict")
        sys.exit(1)
    print(f"SKIPPED {what}: {why}")
    sys.exit(SKIPPED)
