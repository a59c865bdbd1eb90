#!/usr/bin/env python3
"""Writes uniform random 3-SAT instances in DIMACS: for each variable count
N, COUNT instances of round(RATIO * N) clauses of three distinct variables
with random signs.  The seed is fixed, so the files are the same on every
machine and a benchmark table can be repeated.

    random_3sat.py OUTDIR [--vars 200,225,250] [--count 5] [--ratio 4.26] [--seed 21]
"""
import argparse
import os
import random


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("outdir")
    parser.add_argument("--vars", default="200,225,250")
    parser.add_argument("--count", type=int, default=5)
    parser.add_argument("--ratio", type=float, default=4.26)
    parser.add_argument("--seed", type=int, default=21)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    os.makedirs(args.outdir, exist_ok=True)
    for n in (int(v) for v in args.vars.split(",")):
        m = round(args.ratio * n)
        for i in range(1, args.count + 1):
            lines = [f"p cnf {n} {m}"]
            for _ in range(m):
                clause = [v if rng.random() < 0.5 else -v for v in rng.sample(range(1, n + 1), 3)]
                lines.append(" ".join(map(str, clause)) + " 0")
            with open(os.path.join(args.outdir, f"r3sat-{n}-{i:02d}.cnf"), "w") as f:
                f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
