% S K K behaves as the identity combinator.
cnf(s_definition, axiom, app(app(app(s,X),Y),Z) = app(app(X,Z),app(Y,Z))).
cnf(k_definition, axiom, app(app(k,X),Y) = X).
cnf(skk_identity, negated_conjecture, app(app(app(s,k),k),a) != a).
