% A group need not be commutative.
fof(associativity, axiom, ! [X,Y,Z] : mult(mult(X,Y),Z) = mult(X,mult(Y,Z))).
fof(left_identity, axiom, ! [X] : mult(one,X) = X).
fof(left_inverse, axiom, ! [X] : mult(inv(X),X) = one).
fof(commutative, conjecture, ! [X,Y] : mult(X,Y) = mult(Y,X)).
