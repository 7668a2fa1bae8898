"""Runs the program under test, and once more where its emulator failed to start it.

wine now and then hangs, or exits 1 without running the program at all, among
the first launches of a batch. Where RAIZES_TEST_RETRIES is set (the Windows
build's tests set it), a run that failed or timed out with nothing at all on
standard output and standard error is tried again, up to that many times. The
program itself writes to one of them on every way out, so a real fault still
fails.
"""
import os
import subprocess
import sys

RETRIES = int(os.environ.get("RAIZES_TEST_RETRIES", "0"))


def run(command, **options):
    """subprocess.run(command, **options), retried as above; options must include a timeout."""
    for _ in range(RETRIES):
        try:
            done = subprocess.run(command, check=False, **options)
        except subprocess.TimeoutExpired:
            print(f"launch.py: {command[0]} timed out; trying again", file=sys.stderr)
            continue
        if done.returncode == 0 or done.stdout or done.stderr:
            return done
        print(f"launch.py: {command[0]} exited {done.returncode} with no output; trying again",
              file=sys.stderr)
    return subprocess.run(command, check=False, **options)
