// Unit propagation with two watched literals.
//
// Every clause of two or more literals watches its first two literals; a
// clause needs attention only when a watched literal becomes false.  Then
// another literal that is not false takes its place, or the clause is unit
// (the other watched literal is implied) or in conflict.  Each watch also
// carries a blocker, a literal of the clause that when true shows the clause
// satisfied without reading it; for binary clauses the blocker is the other
// literal, so they are never read at all.  Watches are not moved back on
// backtracking: a watched literal that is not false stays valid whatever
// happens below it on the trail.
#include <utility>

#include "modelgen/cdcl/internal.hpp"

namespace modelgen::cdcl {

void Internal::assign(Lit lit, ClauseRef reason) {
  values[lit] = 1;
  values[negate(lit)] = -1;
  var_data[var_of(lit)] = VarData{decision_level(), reason};
  trail.push_back(lit);
}

// Returns the clause in conflict, or kNoClause when every implication has
// been made.
ClauseRef Internal::propagate() {
  ClauseRef conflict = kNoClause;
  while (conflict == kNoClause && propagated < trail.size()) {
    Lit false_lit = negate(trail[propagated++]);
    ++propagations;
    std::vector<Watch>& list = watches[false_lit];
    Watch* i = list.data();
    Watch* j = i;
    Watch* const end = i + list.size();
    while (i != end) {
      const Watch w = *i++;
      std::int8_t blocker_value = values[w.blocker];
      if (blocker_value > 0) {
        *j++ = w;
        continue;
      }
      if (w.binary) {
        *j++ = w;
        if (blocker_value < 0) {
          conflict = w.clause;
          break;
        }
        assign(w.blocker, w.clause);
        continue;
      }
      Lit* lits = clause_literals(w.clause);
      // Keep the false literal in position 1.
      if (lits[0] == false_lit) std::swap(lits[0], lits[1]);
      const Lit first = lits[0];
      if (first != w.blocker && values[first] > 0) {
        *j++ = Watch{first, 0, w.clause};
        continue;
      }
      const std::uint32_t size = clause_size(w.clause);
      std::uint32_t k = 2;
      while (k < size && values[lits[k]] < 0) ++k;
      if (k < size) {
        lits[1] = lits[k];
        lits[k] = false_lit;
        watches[lits[1]].push_back(Watch{first, 0, w.clause});
        continue;
      }
      *j++ = Watch{first, 0, w.clause};
      if (values[first] < 0) {
        conflict = w.clause;
        break;
      }
      assign(first, w.clause);
    }
    while (i != end) *j++ = *i++;
    list.resize(static_cast<std::size_t>(j - list.data()));
  }
  return conflict;
}

}  // namespace modelgen::cdcl
