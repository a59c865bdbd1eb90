cnf(c1,axiom,p(X) | ~q(f(X),Y) | X = Y).
cnf(c2,negated_conjecture,~p(a) | X != b).
cnf(c3,hypothesis,$false | q('A',"b")).
tff(t,type,p: $i > $o).
