% In a ring, anything times zero is zero.
fof(add_assoc, axiom, ![X,Y,Z]: add(add(X,Y),Z) = add(X,add(Y,Z))).
fof(add_comm, axiom, ![X,Y]: add(X,Y) = add(Y,X)).
fof(add_zero, axiom, ![X]: add(zero,X) = X).
fof(add_neg, axiom, ![X]: add(neg(X),X) = zero).
fof(mul_assoc, axiom, ![X,Y,Z]: mul(mul(X,Y),Z) = mul(X,mul(Y,Z))).
fof(distrib_left, axiom, ![X,Y,Z]: mul(X,add(Y,Z)) = add(mul(X,Y),mul(X,Z))).
fof(distrib_right, axiom, ![X,Y,Z]: mul(add(X,Y),Z) = add(mul(X,Z),mul(Y,Z))).
fof(times_zero, conjecture, ![X]: mul(X,zero) = zero).
