% In a group, a left factor cancels.
fof(associativity, axiom, ![X,Y,Z]: mult(mult(X,Y),Z) = mult(X,mult(Y,Z))).
fof(left_identity, axiom, ![X]: mult(e,X) = X).
fof(left_inverse, axiom, ![X]: mult(inv(X),X) = e).
fof(left_cancellation, conjecture, ![X,Y,Z]: (mult(X,Y) = mult(X,Z) => Y = Z)).
