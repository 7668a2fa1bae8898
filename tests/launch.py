"""Runs the program under test: a hang fails on its own limit, and where its
emulator failed to start it, it is started once more.

HANG is how long one run may take before it counts as hung: a guard, not a
speed target, many times what the slowest run takes on a busy machine under
wine. The tests wait for what they need (a prompt, the end of the process)
and never for a fixed time; HANG only ends a wait that would never end.

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

HANG = 60.0
RETRIES = int(os.environ.get("RAIZES_TEST_RETRIES", "0"))


class Hung(Exception):
    """A run that did not end within HANG seconds."""


def once(command, options):
    """One run, or None where it did not end within HANG seconds."""
    try:
        return subprocess.run(command, check=False, timeout=HANG, **options)
    except subprocess.TimeoutExpired:
        return None


def run(command, **options):
    """subprocess.run(command, **options), with HANG as its limit, retried as
    above; raises Hung where the last try did not end."""
    for _ in range(RETRIES):
        done = once(command, options)
        if done is not None and (done.returncode == 0 or done.stdout or done.stderr):
            return done
        print(f"launch.py: {command[-1]} " + ("timed out" if done is None else
              f"exited {done.returncode} with no output") + "; trying again", file=sys.stderr)
    done = once(command, options)
    if done is None:
        raise Hung(f"{command[-1]} did not end within {HANG:g} s")
    return done
