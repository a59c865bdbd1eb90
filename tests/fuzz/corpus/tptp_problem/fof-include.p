include('Axioms/SYN000-0.ax',[ax1]).
fof(a1,axiom,! [X] : (p(X) => ? [Y] : (q(X,Y) & ~ r(Y)))).
fof(a2,axiom,(a <=> b) | (c <~> d) | ~ (e ~| f) | (g ~& h)).
fof(a3,hypothesis,'quoted name'(X) = "distinct" | $true).
fof(c,conjecture,? [Z] : (p(Z) <= q(Z,f(Z,1,$false)))).
