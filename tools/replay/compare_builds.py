#!/usr/bin/python3
"""Runs random scenarios through two orvo-replay programs and compares them.

Each scenario is generated from its own seed: clicks on both captions (Stop
and Start pairs in one batch nest games), key presses and holds, paints,
`let` and `set` on the running game, `land`, absolute and relative runs,
events queued for past times, traces and dumps. Standard output, standard
error and the exit status must be the same byte for byte. Use it to check
that a change to the replay or the game loop keeps every output: build the
old program, build the new one, compare.

usage: compare_builds.py OLD NEW [--count N] [--first SEED] [--graphics DIR] [--keep DIR]
"""
import argparse
import os
import random
import subprocess
import sys

KEYS = (37, 38, 39, 40, 13, 27)  # Left, Up, Right, Down, Enter, Escape
VARIABLES = ("Level", "Points", "MaxReactions", "Reactions", "Cleared", "Bombs",
             "NextBombPoints", "PairX", "PairY", "LastSlideTime", "PairActive", "Running")


def variable_value(rng, name, clock):
    if name in ("PairActive", "Running"):
        return rng.randint(0, 1)
    if name == "LastSlideTime":
        return clock + rng.randint(-3000, 3000)
    if name in ("PairX", "PairY"):
        return rng.randint(0, 9 if name == "PairX" else 5)
    if name == "Level":
        return rng.choice((rng.randint(-5, 30), rng.randint(-1000, 1000)))
    return rng.randint(0, 5000)


def scenario(seed):
    """One scenario's lines, from `seed`."""
    rng = random.Random(seed)
    lines = []
    clock = 1000
    if rng.random() < 0.3:
        clock = rng.randint(0, 10**7)
        lines.append("tick %d" % clock)
    if rng.random() < 0.8:
        lines.append("seed %d" % rng.randint(-2**40, 2**40))
    else:
        lines.append("random " + " ".join("%.6f" % rng.random() for _ in range(rng.randint(1, 300))))
    if rng.random() < 0.5:
        lines.append("trace on")
    if rng.random() < 0.85:
        lines.append("at %d click 0" % (clock + rng.randint(0, 500)))  # most scenarios play
    for _ in range(rng.randint(1, 40)):
        step = rng.random()
        if step < 0.35:
            at = clock + rng.choice((rng.randint(-200, 3000), rng.randint(0, 60000)))
            at = max(at, 0)
            roll = rng.random()
            if roll < 0.3:
                # A Stop and a Start in one batch, sometimes several.
                for _ in range(rng.choice((1, 1, 2, 3, 9))):
                    lines.append("at %d click 0" % at)
            elif roll < 0.35:
                lines.append("at %d click 1" % at)
            elif roll < 0.75:
                key = rng.choice(KEYS) if rng.random() < 0.9 else rng.randint(0, 255)
                lines.append("at %d keydown %d" % (at, key))
                if rng.random() < 0.7:
                    lines.append("at %d keyup %d" % (at + rng.randint(0, 5000), key))
            elif roll < 0.9:
                n = rng.randint(0, 1)
                lines.append("at %d mousedown %d" % (at, n))
                lines.append("at %d mouseup %d" % (at + rng.randint(0, 100), n))
            elif roll < 0.98:
                lines.append("at %d paint" % at)
            else:
                lines.append("at %d close" % at)
        elif step < 0.6:
            if rng.random() < 0.5:
                d = rng.choice((0, 1, 2, rng.randint(1, 2000), rng.randint(1000, 100000),
                                rng.randint(10**6, 10**9)))
                lines.append("run +%d" % d)
                clock += d
            else:
                t = clock + rng.choice((-50, 0, 1, rng.randint(1, 5000), rng.randint(1, 10**6)))
                t = max(t, 0)
                lines.append("run %d" % t)
                clock = max(clock, t)
        elif step < 0.75:
            lines.append("dump")
        elif step < 0.85:
            name = rng.choice(VARIABLES)
            lines.append("let %s %d" % (name, variable_value(rng, name, clock)))
        elif step < 0.9:
            lines.append("set %d %d %d" % (rng.randint(0, 11), rng.randint(0, 6), rng.randint(0, 6)))
        elif step < 0.93:
            lines.append("land")
        elif step < 0.97:
            lines.append("trace %s" % rng.choice(("on", "off")))
        else:
            lines.append("# comment %d" % rng.randint(0, 99))
    lines.append("dump")
    return "\n".join(lines) + "\n"


def run(program, graphics, text):
    command = [program] + (["--graphics", graphics] if graphics else []) + ["-"]
    done = subprocess.run(command, input=text.encode(), capture_output=True, timeout=600)
    return done.returncode, done.stdout, done.stderr


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("old")
    parser.add_argument("new")
    parser.add_argument("--count", type=int, default=1000)
    parser.add_argument("--first", type=int, default=1)
    parser.add_argument("--graphics", help="picture folder for both programs")
    parser.add_argument("--keep", help="folder to write the scenarios that differ to")
    args = parser.parse_args()

    differ = 0
    outcomes = {}
    for seed in range(args.first, args.first + args.count):
        text = scenario(seed)
        old = run(args.old, args.graphics, text)
        new = run(args.new, args.graphics, text)
        outcomes[old[0]] = outcomes.get(old[0], 0) + 1
        if old != new:
            differ += 1
            print("seed %d differs: status %d/%d" % (seed, old[0], new[0]))
            if args.keep:
                os.makedirs(args.keep, exist_ok=True)
                with open(os.path.join(args.keep, "seed%d.scn" % seed), "w") as f:
                    f.write(text)
    summary = ", ".join("status %d: %d" % item for item in sorted(outcomes.items()))
    print("%d scenarios, %d differ (%s)" % (args.count, differ, summary))
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
