% A group from a left identity and left inverses: inversion is an involution.
cnf(associativity, axiom, mult(mult(X,Y),Z) = mult(X,mult(Y,Z))).
cnf(left_identity, axiom, mult(e,X) = X).
cnf(left_inverse, axiom, mult(inv(X),X) = e).
cnf(inverse_inverse, negated_conjecture, inv(inv(a)) != a).
