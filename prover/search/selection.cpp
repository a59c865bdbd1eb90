// Choosing the next open subgoal, and the proof report.
//
// The open subgoals live in the global subgoal chain: the innermost group is
// the copy entered last that still has open subgoals.  By default the first
// open subgoal of the innermost group is taken; with a reordering rule the
// best one by complexity.  Exhausted groups are removed from the chain (the
// step that called the selection restores the chain when it backtracks);
// removing a group that completes its parent is the moment the parent is
// solved and may be folded up into a lemma.  When nothing is left open the
// tableau is closed and the proof is reported.
#include "prover/prover.hpp"

namespace velkor {
namespace {

// Temporary marks on variables while a complexity is measured: bound to
// `kFalseMark` (the plain measure) or to `kCountMark` with a count.
Term kFalseMark{};
Term kCountMark{};

}  // namespace

Literal* Prover::group_item(const SubgoalGroup* g, std::int64_t i) const {
  if (g->copy != nullptr) return &g->copy->subgoals[i];
  return eq_trail_literals[static_cast<std::size_t>(g->first + i)];
}

Literal* Prover::next_subgoal() {
  SubgoalGroup* v = global_subgoals;
  std::int64_t i = 0;
  for (;;) {
    if (i < v->count) {
      Literal* s = group_item(v, i++);
      if (s->selected) continue;
      if (!subgoal_reordering_on) return s;
      consider_subgoal(s);
      continue;
    }
    if (subgoal_reordering_on && current_subgoal != nullptr) {
      if (global_reordering && v->older != nullptr && current_subgoal->copy->depth_left > 0) {
        v = v->older;  // look into the older group without removing anything
        i = 0;
        continue;
      }
      return current_subgoal;
    }
    // Nothing open in the innermost group.
    SubgoalGroup* g = global_subgoals;
    if (g->older != nullptr && g->completes_parent) {
      ClauseCopy* entered = group_item(g, 0)->copy;
      entered->parent->closed = true;
      if (foldup || index_foldup) {
        entering_subtree_ = entered;
        fold_up(entered->parent, entered->entry_inferences - 1);
        entering_subtree_ = nullptr;
      }
    }
    global_subgoals = g->older;
    if (global_subgoals == nullptr) proof_report();
    v = global_subgoals;
    i = 0;
  }
}

void Prover::consider_subgoal(Literal* s) {
  if (current_subgoal == nullptr) {
    current_subgoal = s;
    return;
  }
  if (!current_complexity_known) {
    subgoal_complexity(current_subgoal, current_complexity, current_vars);
    current_complexity_known = true;
  }
  subgoal_complexity(s, new_complexity, new_vars);
  const std::int64_t cc = current_complexity, cv = current_vars;
  const std::int64_t nc = new_complexity, nv = new_vars;
  const bool same_predicate = s->predicate == current_subgoal->predicate;
  const bool no_more_connections =
      s->connections->count + s->connections->reduction <=
      current_subgoal->connections->count + current_subgoal->connections->reduction;
  const bool by_complexity = nc > cc || (nc == cc && nv < cv);
  const bool by_variables = nv < cv || (nv == cv && nc > cc);
  bool replace = false;
  switch (subgoal_reordering) {
    case 0:
      if (global_reordering && s->copy->depth_left > 0) {
        // Weighed by the depth left to each: compared as products, exactly.
        replace = static_cast<__int128>(nc) * current_subgoal->copy->depth_left >
                  static_cast<__int128>(cc) * s->copy->depth_left;
      } else {
        replace = by_complexity;
      }
      break;
    case 1:
      replace = by_variables;
      break;
    case 2:
      replace = same_predicate && by_complexity;
      break;
    case 3:
      replace = same_predicate && by_variables;
      break;
    case 4:
      replace = (same_predicate || no_more_connections) && by_complexity;
      break;
    case 5:
      replace = (same_predicate || no_more_connections) && by_variables;
      break;
    default:
      break;
  }
  if (replace) {
    current_subgoal = s;
    current_vars = nv;
    current_complexity = nc;
  }
}

void Prover::subgoal_complexity(Literal* t, std::int64_t& complexity, std::int64_t& vars) {
  push_mark();
  const std::int64_t arity = t->predicate->arity;
  if (arity == 0) {
    complexity = 1000;
  } else if (subgoal_complexity_measure == 0) {
    std::int64_t sum = 0;
    for (std::int64_t i = 0; i < arity; ++i) sum += plain_term_complexity(t->args[i]);
    complexity = sum / arity;
  } else {
    for (std::int64_t i = 0; i < arity; ++i) count_variable_occurrences(t->args[i]);
    std::int64_t sum = 0;
    for (std::int64_t i = 0; i < arity; ++i) sum += term_complexity(t->args[i]);
    complexity = sum / arity;
  }
  vars = count_marks();
}

std::int64_t Prover::plain_term_complexity(Term* x) {
  while (is_variable(x)) {
    if (x->binding == &kFalseMark) return 0;  // a variable met before
    if (x->binding == nullptr) {
      bind(x, &kFalseMark);
      return 0;
    }
    x = x->binding;
  }
  const std::int64_t m = x->functor->arity;
  if (m == 0) return 1000;
  std::int64_t sum = 0;
  for (std::int64_t i = 0; i < m; ++i) sum += plain_term_complexity(x->args[i]);
  return 500 + sum / (2 * m);
}

void Prover::count_variable_occurrences(Term* x) {
  while (is_variable(x)) {
    if (x->binding == &kCountMark) {
      ++x->occurrences;
      return;
    }
    if (x->binding == nullptr) {
      x->occurrences = 0;
      bind(x, &kCountMark);
      return;
    }
    x = x->binding;
  }
  for (std::int64_t i = 0; i < x->functor->arity; ++i) count_variable_occurrences(x->args[i]);
}

std::int64_t Prover::term_complexity(Term* x) {
  while (is_variable(x)) {
    if (x->binding == &kCountMark) return 1000 * x->occurrences / (x->occurrences + 1);
    x = x->binding;
  }
  const std::int64_t m = x->functor->arity;
  if (m == 0) return 1000;
  std::int64_t sum = 0;
  for (std::int64_t i = 0; i < m; ++i) sum += term_complexity(x->args[i]);
  return 500 + sum / (2 * m);
}

std::int64_t Prover::count_marks() {
  std::int64_t count = 0;
  for (Term* x; (x = trail_items[trail_top--]) != nullptr; ++count) x->binding = nullptr;
  return count;
}

void Prover::proof_report() {
  display_inferences(depth);
  print("\n     ***** PROOF WITH ");
  print(inf);
  print(" INFERENCES ");
  if (nr_reduction_steps > 0) {
    print("(");
    print(nr_reduction_steps);
    print(" RED.) ");
  }
  if (nr_matchings > 0) {
    print("(");
    print(nr_matchings);
    print(" LEM.) ");
  }
  print("FOUND *****\n\n");
  print("Total successful/failed inferences: ");
  print(total_successful_inferences);
  if (successful_reduction_steps > 0) {
    print(" (RED: ");
    print(successful_reduction_steps);
    print(")");
  }
  if (total_successful_matchings > 0) {
    print(" (LEM: ");
    print(total_successful_matchings);
    print(")");
  }
  print("/");
  print(total_failed_inferences);
  print("\n");
  if (proof_printer) {
    proof_printer(*this);
  } else if (proof_output) {
    print("\n\nUSED CLAUSES\n------------\n");
    display_proof_clauses(formula_clauses);
  }
  print("\n");
  end_run(Outcome::kProof, 0);
}

}  // namespace velkor
