% A propositional non-theorem over two atoms.
fof(either, axiom, p | q).
fof(first, conjecture, p).
