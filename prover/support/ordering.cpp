// Clause ordering: shorter clauses first, then those with smaller terms.
//
// The order is a selection sort by exchange, and its tie behaviour (it is not
// stable) decides the order of extension partners, so it is kept exactly.
#include "prover/prover.hpp"

namespace velkor {

bool Prover::clause_bigger(const Clause* c1, const Clause* c2) {
  if (c1->length != c2->length) return c1->length > c2->length;
  return c1->term_size > c2->term_size;
}

void Prover::select_smallest_clause(std::vector<Clause*>& clauses, std::size_t cell) {
  for (std::size_t q = cell + 1; q < clauses.size(); ++q)
    if (clause_bigger(clauses[cell], clauses[q])) std::swap(clauses[cell], clauses[q]);
}

void Prover::sort_clauses(std::vector<Clause*>& clauses) {
  for (std::size_t p = 0; p + 1 < clauses.size(); ++p) select_smallest_clause(clauses, p);
}

}  // namespace velkor
