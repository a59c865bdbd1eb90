% Equal constants: a theorem by ground instances of the axioms of equality.
fof(same, axiom, a = b).
fof(other, axiom, b = c).
fof(holds, axiom, p(a,b)).
fof(moved, conjecture, p(c,a) | q).
