% A group from a left identity and left inverses: the identity is a right
% identity too.
cnf(associativity, axiom, mult(mult(X,Y),Z) = mult(X,mult(Y,Z))).
cnf(left_identity, axiom, mult(e,X) = X).
cnf(left_inverse, axiom, mult(inv(X),X) = e).
cnf(right_identity, negated_conjecture, mult(a,e) != a).
