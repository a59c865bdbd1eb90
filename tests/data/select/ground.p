% p(a) follows from r(a) through q; the premises about s, t and u are not
% needed.  The premise q(X) | ~r(X) has no symbol of the negated
% conjecture: a selection reaches it in its second round.
cnf(goal, negated_conjecture, ~p(a)).
cnf(pq, axiom, p(X) | ~q(X)).
cnf(qr, axiom, q(X) | ~r(X)).
cnf(ra, axiom, r(a)).
cnf(st, axiom, s(X) | ~t(X)).
cnf(tu, axiom, t(X) | ~u(X)).
cnf(ub, axiom, u(b)).
