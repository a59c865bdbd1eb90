% Pelletier Problem 48 (TPTP SYN071-1), converted with tptp-to-velkor.
input_clause(clause_1,axiom,[++equal(a,b),++equal(c,d)]).
input_clause(clause_2,axiom,[++equal(a,c),++equal(b,d)]).
input_clause(clause_3,conjecture,[--equal(a,d)]).
input_clause(clause_4,conjecture,[--equal(b,c)]).
input_clause(eq_reflexivity,axiom,[++equal(X,X)]).
input_clause(eq_symmetry,axiom,[--equal(X,Y),++equal(Y,X)]).
input_clause(eq_transitivity,axiom,[--equal(X,Y),--equal(Y,Z),++equal(X,Z)]).
