% Pelletier Problem 45 (TPTP SYN069-1), converted with tptp-to-velkor.
input_clause(clause_1,axiom,[--big_f(X),++big_g(f(X)),--big_g(Y),--big_h(X,Y),++big_k(Y)]).
input_clause(clause_2,axiom,[--big_f(X),++big_h(X,f(X)),--big_g(Y),--big_h(X,Y),++big_k(Y)]).
input_clause(clause_3,axiom,[--big_f(X),--big_j(X,f(X)),--big_g(Y),--big_h(X,Y),++big_k(Y)]).
input_clause(clause_4,axiom,[--big_l(X),--big_k(X)]).
input_clause(clause_5,axiom,[++big_f(a)]).
input_clause(clause_6,axiom,[--big_h(a,X),++big_l(X)]).
input_clause(clause_7,axiom,[--big_g(X),--big_h(a,X),++big_j(a,X)]).
input_clause(clause_8,conjecture,[--big_f(X),++big_g(g(X))]).
input_clause(clause_9,conjecture,[--big_f(X),++big_h(X,g(X))]).
