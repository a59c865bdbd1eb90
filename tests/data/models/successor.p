% A successor without fixed points need not have a point of period two.
fof(no_fixed_point, axiom, ! [X] : s(X) != X).
fof(period_two, conjecture, ? [X] : s(s(X)) = X).
