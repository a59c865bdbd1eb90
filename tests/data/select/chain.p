% Inclusion is transitive along a chain a, b, d, c, among premises about
% other sets that share only the membership predicate with it.  The premise
% sub(b,d) has no symbol of the conjecture: a selection reaches it in its
% second round, through b and d.
fof(def_sub, axiom, ! [A,B] : (sub(A,B) <=> ! [X] : (in(X,A) => in(X,B)))).
fof(ab, axiom, sub(a,b)).
fof(bd, axiom, sub(b,d)).
fof(dc, axiom, sub(d,c)).
fof(empty, axiom, ! [X] : ~ in(X,empty_set)).
fof(pair, axiom, ! [X,Y,Z] : (in(Z,pair(X,Y)) <=> (Z = X | Z = Y))).
fof(single, axiom, ! [X,Z] : (in(Z,single(X)) <=> Z = X)).
fof(union, axiom, ! [X,Y,Z] : (in(Z,union(X,Y)) <=> (in(Z,X) | in(Z,Y)))).
fof(meet, axiom, ! [X,Y,Z] : (in(Z,meet(X,Y)) <=> (in(Z,X) & in(Z,Y)))).
fof(goal, conjecture, sub(a,c)).
