#!/usr/bin/python3
"""Writes a scenario of generated play for benchmarking orvo-replay.

Random key presses (Left, Up, Down, Enter: a keydown, then a keyup after a
short hold) come every 50 to 500 ms. A new game is started soon after each
game over: the generator plays the scenario through orvo-replay as it writes
it, one second at a time, and asks for a `dump` to see whether a game is
still running. (A blind click on the Start/Stop caption would stop a running
game.) A cascade can outlast several of these looks, whose dumps then all run
at its end; so a new click is queued only once the previous one has been
delivered, that is, once a dump's tick is past it. The dumps are not written
to the file, so the file replays exactly the play the generator saw.

usage: make_hour_scenario.py REPLAY OUT [--minutes M] [--seed N] [--graphics DIR]
"""
import argparse
import json
import random
import subprocess
import sys

KEYS = (37, 38, 40, 13)  # Left, Up, Down, Enter
START = 1000             # the replay's clock at start-up
STEP = 1000              # how often the generator looks at the game (ms)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("replay", help="the orvo-replay program")
    parser.add_argument("out", help="the scenario file to write")
    parser.add_argument("--minutes", type=int, default=60)
    parser.add_argument("--seed", type=int, default=20240)
    parser.add_argument("--graphics", help="picture folder for orvo-replay")
    args = parser.parse_args()

    command = [args.replay] + (["--graphics", args.graphics] if args.graphics else []) + ["-"]
    replay = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True,
                              bufsize=1)
    rng = random.Random(args.seed)
    lines = []

    def emit(line):
        lines.append(line)
        replay.stdin.write(line + "\n")

    def look():
        replay.stdin.write("dump\n")
        replay.stdin.flush()
        answer = replay.stdout.readline()
        if not answer:
            sys.exit("orvo-replay ended early (status %s)" % replay.wait())
        return json.loads(answer)

    def click_start(t):
        emit("at %d mousedown 0" % t)
        emit("at %d mouseup 0" % t)
        emit("at %d click 0" % t)

    end = START + args.minutes * 60000
    emit("# %d minutes of generated play (make_hour_scenario.py --seed %d)" % (args.minutes, args.seed))
    emit("seed %d" % args.seed)
    last_click = START + 500
    click_start(last_click)
    next_key = START + 500 + rng.randint(50, 500)
    games = 1
    t = START + STEP
    while t <= end:
        while next_key < t:
            key = rng.choice(KEYS)
            emit("at %d keydown %d" % (next_key, key))
            emit("at %d keyup %d" % (next_key + rng.randint(30, 120), key))
            next_key += rng.randint(50, 500)
        emit("run %d" % t)
        state = look()
        if not state["running"] and state["tick"] > last_click and t < end:
            last_click = state["tick"] + 1
            click_start(last_click)
            games += 1
        t += STEP
    emit("dump")
    replay.stdin.close()
    replay.stdout.read()
    status = replay.wait()
    if status != 0:
        sys.exit("orvo-replay failed with status %d" % status)
    with open(args.out, "w") as f:
        f.write("\n".join(lines) + "\n")
    print("%s: %d lines, %d games started" % (args.out, len(lines), games))


if __name__ == "__main__":
    main()
