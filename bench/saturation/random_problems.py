#!/usr/bin/env python3
"""Small random clause problems with equality, for comparing the answers of
velkor --saturation with another prover's.

    random_problems.py --count N [--seed S] --out DIR

Writes DIR/RND00000-1.p ... : a few constants (sometimes distinct objects),
functions of arity 1 and 2, predicates of arity 0 to 2, clauses of one to
three literals with up to three variables, a third of the literals
equations.  Sizes are chosen so that about half the problems are
unsatisfiable and most are decided within a second."""
import argparse
import os
import random


def term(rng, depth, variables, constants, functions):
    if depth <= 0 or rng.random() < 0.45:
        if variables and rng.random() < 0.5:
            return rng.choice(variables)
        return rng.choice(constants)
    name, arity = rng.choice(functions)
    return "%s(%s)" % (name, ",".join(term(rng, depth - 1, variables, constants, functions)
                                      for _ in range(arity)))


def problem(rng):
    constants = ["a", "b", "c"][: rng.randint(1, 3)]
    if rng.random() < 0.15:
        constants += ['"x"', '"y"']
    functions = [("f", 1), ("g", 2), ("h", 1)][: rng.randint(1, 3)]
    predicates = [("p", 1), ("q", 2), ("r", 0)][: rng.randint(1, 3)]
    clauses = []
    for _ in range(rng.randint(3, 9)):
        variables = ["X", "Y", "Z"][: rng.randint(0, 3)]
        literals = []
        for _ in range(rng.randint(1, 3)):
            sign = "~" if rng.random() < 0.45 else ""
            if rng.random() < 0.35:
                left = term(rng, 2, variables, constants, functions)
                right = term(rng, 2, variables, constants, functions)
                literals.append("%s %s %s" % (left, "!=" if sign else "=", right))
            else:
                name, arity = rng.choice(predicates)
                args = ",".join(term(rng, 2, variables, constants, functions)
                                for _ in range(arity))
                literals.append(sign + name + ("(%s)" % args if arity else ""))
        clauses.append(" | ".join(literals))
    return clauses


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--count", type=int, required=True)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    os.makedirs(args.out, exist_ok=True)
    for n in range(args.count):
        name = "RND%05d-1" % n
        with open(os.path.join(args.out, name + ".p"), "w") as out:
            out.write("%% random problem %d of seed %d\n" % (n, args.seed))
            for k, clause in enumerate(problem(rng)):
                role = "negated_conjecture" if k == 0 else "axiom"
                out.write("cnf(c%d, %s, %s).\n" % (k, role, clause))


if __name__ == "__main__":
    main()
