% A strict order need not be total.
fof(irreflexive, axiom, ! [X] : ~ less(X,X)).
fof(transitive, axiom, ! [X,Y,Z] : ((less(X,Y) & less(Y,Z)) => less(X,Z))).
fof(total, conjecture, ! [X,Y] : (less(X,Y) | X = Y | less(Y,X))).
