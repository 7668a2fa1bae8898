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
import select
import subprocess
import sys
import time

HANG = 60.0
RETRIES = int(os.environ.get("RAIZES_TEST_RETRIES", "0"))


class Hung(Exception):
    """A run that did not end within HANG seconds."""


def once(command, data, options):
    """One run of COMMAND, given DATA on standard input where it is not None:
    a CompletedProcess, or None where it did not end within HANG seconds.

    It waits for the process to end, not for the ends of its pipes: the
    services that wine starts keep the pipes of the program that started
    them open, for as long as wine runs anything. Once the program has ended,
    all it wrote is in the pipes, and that is what is read."""
    if data is not None:
        options = dict(options, stdin=subprocess.PIPE)
    proc = subprocess.Popen(command, **options)
    ended = os.pidfd_open(proc.pid)
    streams = {stream: [] for stream in (proc.stdout, proc.stderr) if stream is not None}
    reading = list(streams)
    pending = memoryview(data) if data is not None else None
    deadline = time.monotonic() + HANG
    try:
        while True:
            if pending is not None and not pending:
                proc.stdin.close()
                pending = None
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            writing = [proc.stdin] if pending is not None else []
            readable, writable, _ = select.select([ended, *reading], writing, [], left)
            for stream in readable:
                if stream is not ended:
                    chunk = os.read(stream.fileno(), 65536)
                    streams[stream].append(chunk)
                    if not chunk:
                        reading.remove(stream)
            if writable:
                try:
                    pending = pending[os.write(proc.stdin.fileno(), pending[:select.PIPE_BUF]):]
                except BrokenPipeError:  # the program stopped reading
                    pending = pending[:0]
            if ended in readable:
                break
        for stream in reading:
            while select.select([stream], [], [], 0)[0]:
                chunk = os.read(stream.fileno(), 65536)
                if not chunk:
                    break
                streams[stream].append(chunk)
        out, err = (b"".join(streams[s]) if s is not None else None
                    for s in (proc.stdout, proc.stderr))
        return subprocess.CompletedProcess(command, proc.wait(), out, err)
    finally:
        os.close(ended)
        if proc.poll() is None:
            proc.kill()
            proc.wait()
        for stream in (proc.stdin, proc.stdout, proc.stderr):
            if stream is not None and not stream.closed:
                stream.close()


def run(command, input=None, capture_output=False, **options):
    """subprocess.run(command, input=..., capture_output=..., **options) with
    HANG as its limit, retried as above; raises Hung where the last try did
    not end."""
    if capture_output:
        options = dict(options, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    for _ in range(RETRIES):
        done = once(command, input, options)
        if done is not None and (done.returncode == 0 or done.stdout or done.stderr):
            return done
        print(f"launch.py: {command[-1]} " + ("timed out" if done is None else
              f"exited {done.returncode} with no output") + "; trying again", file=sys.stderr)
    done = once(command, input, options)
    if done is None:
        raise Hung(f"{command[-1]} did not end within {HANG:g} s")
    return done
