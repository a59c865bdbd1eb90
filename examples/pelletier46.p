% Pelletier Problem 46 (TPTP SYN070-1), converted with tptp-to-velkor.
input_clause(clause_1,axiom,[--big_f(X),++big_f(f(X)),++big_g(X)]).
input_clause(clause_2,axiom,[--big_f(X),++big_h(f(X),X),++big_g(X)]).
input_clause(clause_3,axiom,[--big_f(X),--big_g(f(X)),++big_g(X)]).
input_clause(clause_4,axiom,[--big_f(X),++big_g(X),++big_f(a)]).
input_clause(clause_5,axiom,[--big_f(X),++big_g(X),--big_g(a)]).
input_clause(clause_6,axiom,[--big_f(X),++big_g(X),--big_f(Y),++big_g(Y),++big_j(a,Y)]).
input_clause(clause_7,axiom,[--big_f(X),--big_f(Y),--big_h(X,Y),--big_j(Y,X)]).
input_clause(clause_8,conjecture,[++big_f(b)]).
input_clause(clause_9,conjecture,[--big_g(b)]).
