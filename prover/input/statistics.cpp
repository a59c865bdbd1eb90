// The six-line report on the syntax of the problem just read.
#include "prover/prover.hpp"

namespace velkor {
namespace {

// An arity bound that does not exist (no predicates or no functors) shows "-".
void print_arity(Prover& p, std::int64_t arity) {
  if (arity < 0)
    p.print("-");
  else
    p.print(arity);
}

}  // namespace

void Prover::display_statistics() {
  print("Syntax:\tNumber of clauses:\t");
  print(nr_clauses);
  print(" ( ");
  print(nr_non_horn);
  print(" non-Horn; ");
  print(nr_units);
  print(" unit)\n\tNumber of literals:\t");
  print(nr_literals);
  print(" ( ");
  print(nr_eq_literals);
  print(" equality)\n\tMaximal clause size:\t");
  print(max_clause_size);
  print("\n\tNumber of predicates:\t");
  print(nr_predicates);
  print(" ( ");
  print(nr_propositionals);
  print(" propositional; ");
  print_arity(*this, min_predicate_arity);
  print("-");
  print_arity(*this, max_predicate_arity);
  print(" arity)\n\tNumber of functors:\t");
  print(nr_functors);
  print(" ( ");
  print(nr_constants);
  print(" constant; ");
  print_arity(*this, min_functor_arity);
  print("-");
  print_arity(*this, max_functor_arity);
  print(" arity)\n\tNumber of variables:\t");
  print(nr_variables);
  print(" ( ");
  print(nr_singleton_variables);
  print(" singleton)\n");
}

}  // namespace velkor
