% a comment line
input_clause(c1,axiom,[++p(X,f(g(Y),a),Y),--q(Z)]).
input_clause(c2,conjecture,[--p(a,X,b),++equal(X,f(X,1))]).
input_clause(3,hypothesis,[++r]).
input_clause(empty,axiom,[]).
