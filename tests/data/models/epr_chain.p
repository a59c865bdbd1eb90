% Without function symbols: refuted by its ground instances over a, b, c.
cnf(start, axiom, p(a)).
cnf(step, axiom, ~p(X) | q(X,b)).
cnf(link, axiom, ~q(X,Y) | p(Y) | r(X)).
cnf(left, axiom, ~r(X) | s(X,c)).
cnf(right, axiom, ~p(b) | s(b,Y)).
cnf(goal, negated_conjecture, ~s(X,c)).
