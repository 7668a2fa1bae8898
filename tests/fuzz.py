#!/usr/bin/env python3
"""Feeds raizes inputs generated from a fixed seed and checks what must always hold.

Every run ends by itself with status 0 or 1 and no signal. Status 0: standard
output is the three prompts and one well-formed result line, standard error is
empty. Status 1: standard output is the prompts up to the failed read, standard
error is one line. With --same-as, another build must print the same bytes.

Usage: fuzz.py [--count N] [--same-as OTHER] COMMAND...   (the program, after an
emulator if any)

CTest runs it as fuzz, 10,000 inputs; in the clang, cross and Windows presets
as fuzz-same-bytes-as-reference, with --same-as the g++ x86-64 build, on
1,000 inputs under an emulator.
"""
import argparse
import concurrent.futures
import os
import random
import re
import sys

import launch

PROMPTS = [f"Digite o Valor de {x} \n".encode() for x in "ABC"]
# What standard output may hold when a run stops at the read after prompt 1, 2 or 3.
STOPPED = {b"".join(PROMPTS[:n]) for n in (1, 2, 3)}
# Every NaN root is written as -nan, whatever its sign.
ROOT = rb"(?:-?\d+\.\d\d|-?inf|-nan)"
RESULT = re.compile(b"As ra\xc3\xadzes da equa\xc3\xa7\xc3\xa3o s\xc3\xa3o: " + ROOT + b" e " + ROOT)
EXTREMES = ["0", "-0", "0.0e0", "1e-45", "1.4e-45", "7e-46", "1e-40", "1.17549435e-38",
            "3.4028235e38", "3.4028236e38", "1e39", "1e-50", "1e400", "0x1p-149", "0x1p-150",
            "0x1.fffffep127", "0x1p128", "-0x0p0", "nan", "-nan", "inf", "99999999999999999999999999999999999999"]
WORDS = ["inf", "-INF", "Infinity", "+infinity", "nan", "-NaN", "nan(123)", "in", "infinit",
         "na", "abc", "três", ",", "-", "+", ".", "e", "0x", "1e", "1e+", "2,5", "--1"]
SEPARATORS = [" ", "  ", "\t", "\n", "\r\n", "\v", "\f", " \n\t", "\n\n", "", ",", ";"]


def number(rnd):
    kind = rnd.randrange(4)
    sign = rnd.choice(["", "", "-", "+"])
    digits = lambda alphabet, most: "".join(rnd.choice(alphabet) for _ in range(rnd.randint(0, most)))
    if kind == 0:
        text = digits("0123456789", 8) + rnd.choice(["", ".", "." + digits("0123456789", 8)])
        if rnd.random() < 0.4:
            text += rnd.choice("eE") + rnd.choice(["", "-", "+"]) + str(rnd.randint(-60, 60))
        return sign + (text or "0")
    if kind == 1:
        mantissa = digits("0123456789abcdefABCDEF", 6) or "1"
        return f"{sign}0{rnd.choice('xX')}{mantissa}.{digits('0123456789abcdef', 4)}p{rnd.randint(-160, 140)}"
    if kind == 2:
        return sign + rnd.choice(EXTREMES)
    return str(rnd.randint(-20, 20))


def generate(rnd):
    if rnd.random() < 0.1:
        return bytes(rnd.randrange(256) for _ in range(rnd.randint(0, 48)))
    parts = []
    for _ in range(rnd.choice([2, 3, 3, 3, 4])):
        parts.append(rnd.choice(WORDS) if rnd.random() < 0.05 else number(rnd))
        parts.append(rnd.choice(SEPARATORS) if rnd.random() < 0.2 else rnd.choice([" ", "\n"]))
    data = "".join(parts).encode()
    if rnd.random() < 0.1:
        cut = rnd.randrange(len(data) + 1)
        data = data[:cut] + bytes([rnd.randrange(256)]) + data[cut:]
    return data


def run(command, data):
    done = launch.run(command, input=data, capture_output=True)
    return done.returncode, done.stdout, done.stderr


def problem(command, reference, data):
    try:
        status, out, err = run(command, data)
        if reference is not None and run([reference], data) != (status, out, err):
            return "differs from the reference build"
    except launch.Hung as hung:
        return str(hung)
    if status == 0:
        prompts = b"".join(PROMPTS)
        if not out.startswith(prompts) or not RESULT.fullmatch(out[len(prompts):]) or err:
            return f"status 0 with output {out!r} and error {err!r}"
    elif status == 1:
        if out not in STOPPED:
            return f"status 1 with output {out!r}"
        if not err.startswith(b"Erro: ") or err.count(b"\n") != 1 or not err.endswith(b"\n"):
            return f"status 1 with error {err!r}"
    else:
        return f"status {status} (negative: killed by a signal)"
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--count", type=int, default=10000)
    parser.add_argument("--seed", type=int, default=20261208)
    parser.add_argument("--same-as", dest="reference")
    parser.add_argument("command", nargs="+")
    args = parser.parse_args()
    if args.reference is not None and not os.access(args.reference, os.X_OK):
        print(f"FAIL no reference build at {args.reference} (build it first)")
        return 1
    rnd = random.Random(args.seed)
    inputs = [generate(rnd) for _ in range(args.count)]
    failures = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        checks = pool.map(lambda data: problem(args.command, args.reference, data), inputs)
        for data, found in zip(inputs, checks):
            if found:
                failures += 1
                if failures <= 10:
                    print(f"FAIL input {data!r}: {found}")
    print(f"{len(inputs) - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
