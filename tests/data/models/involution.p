% An involution need not be the identity.
fof(involution, axiom, ! [X] : f(f(X)) = X).
fof(identity, conjecture, ! [X] : f(X) = X).
