% In a lattice, the absorption laws make meet idempotent.
cnf(meet_absorption, axiom, meet(X,join(X,Y)) = X).
cnf(join_absorption, axiom, join(X,meet(X,Y)) = X).
cnf(meet_commutative, axiom, meet(X,Y) = meet(Y,X)).
cnf(join_commutative, axiom, join(X,Y) = join(Y,X)).
cnf(meet_idempotent, negated_conjecture, meet(a,a) != a).
