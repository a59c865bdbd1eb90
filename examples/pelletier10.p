% Pelletier Problem 10 (TPTP SYN044-1), converted with tptp-to-velkor.
input_clause(clause_1,axiom,[--q,++r]).
input_clause(clause_2,axiom,[--r,++p]).
input_clause(clause_3,axiom,[--r,++q]).
input_clause(clause_4,axiom,[--p,++q,++r]).
input_clause(clause_5,conjecture,[--p,--q]).
input_clause(clause_6,conjecture,[++p,++q]).
