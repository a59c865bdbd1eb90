// The connection-tableau search of one depth level.
//
// Depth-first with chronological backtracking by recursion: every successful
// step at once selects the next open subgoal and solves it inside the same
// call, so a return always means failure below, and the step undoes exactly
// what it did (bindings, logged writes, the constraint stack, the subgoal
// chain, copies in use, signature marks) before it returns.  A closed tableau
// never returns: the subgoal selection prints the proof and ends the run.
//
// Equality mode: a unification clash inside an extension step is recorded as
// a difference literal (a negative equality subgoal) instead of failing.  The
// differences one step records form a group of open subgoals of their own,
// pushed on the subgoal chain above the entered copy's subgoals, like a
// subgoal vector.  Whether a step recorded differences is read off the
// equality trail position, not off `difference_counter`, which is never
// lowered within a level; the inference count likewise adds the step's own
// differences.  Reduction steps and constraint checks unify without recording
// differences, which keeps them plain and sound.
#include "common/memory_out.hpp"
#include "common/saturating.hpp"
#include "prover/prover.hpp"

namespace velkor {

using common::sat_add;
using common::sat_div;
using common::sat_mul;
using common::sat_sub;

std::int64_t Prover::subgoal_depth(Literal* t, std::int64_t d) const {
  const ClauseCopy* a = t->copy;
  if (!weighted_depth) return a->depth_left;
  // The bound moves from the plain one towards the weighted one as
  // inferences are added below the copy.  A non-positive divisor (possible
  // only with a negative "-wd3") keeps the plain bound.
  std::int64_t divisor = sat_add(sat_mul(sat_sub(d, a->entry_inferences), wd3), 100);
  if (divisor <= 0) return a->depth_left;
  std::int64_t b = a->weighted_limit;
  std::int64_t moved = sat_div(sat_mul(100, sat_sub(sat_mul(100, a->depth_left), b)), divisor);
  return sat_div(sat_add(sat_add(b, moved), 50), 100);
}

void Prover::solve_next(std::int64_t d, std::int64_t k) {
  current_complexity_known = false;
  current_subgoal = nullptr;
  Literal* t = next_subgoal();
  if (t == nullptr) return;
  if (equal_predecessor_fail_on && !no_equal_predecessor(t, t->copy->parent)) return;
  std::int64_t r = subgoal_depth(t, d);
  actual_depth = r;
  t->selected = true;
  solve_subgoal(t, t->connections, r, d, k);
  t->selected = false;
}

void Prover::extension_solve(Literal* s, Clause* c, Literal* p, std::int64_t r, std::int64_t d,
                             std::int64_t k) {
  const std::int64_t n = c->length;
  if (r <= 0 && n > 1) {  // at depth 0 only unit clauses can be entered
    refuse_at_bound(1);
    return;
  }
  tick();
  common::check_stack();
  if (signature_bound) {
    old_sig_trail_position = sig_trail_position;
    old_free_sig = free_sig;
    if (!charge_signature(c->symbols, c->nr_symbols)) {
      free_sig = old_free_sig;
      bound_fail = true;
      ++failed_inferences;
      return;
    }
  }
  actual_depth = r;
  ClauseCopy* a = first_free_copy(c);
  actual_copy = a;
  const std::int64_t kept_sig_position = old_sig_trail_position;
  const std::int64_t kept_free_sig = old_free_sig;
  const std::int64_t eq_start = eq_trail;
  const bool logs = constraints || foldup || index_foldup;
  if (s != nullptr) {
    push_mark();
    optimized_unification = Optimized::kNothingBound;
    step_eq_start = eq_trail;
    recording_differences = equality;
    bool unified = extension_unify_lists(p->args, s->args, p->predicate->arity);
    recording_differences = false;
    if (unified && equality_modification && !orderings_hold(c->nr_ordering > 0 ? a : nullptr)) {
      unbind_vars();
      unified = false;
    }
    bool accepted = false;
    if (unified) {
      if (!constraints) {
        if (logs) push_v_mark();
        if (logs && equality_modification) mark_entailed();
        accepted = true;
      } else {
        push_v_mark();
        if (equality_modification) mark_entailed();
        actual_c_stack = c_stack;
        if (propagate_substitution() &&
            (!regularity || make_regularity_constraints_clause(p, a, s, 0, n))) {
          accepted = true;
        } else {
          c_stack = actual_c_stack;
          undo_v_trail();
          unbind_vars();
          ++constraint_fails;
        }
      }
    }
    if (!accepted) {
      eq_trail = eq_start;
      if (signature_bound) undo_signature(kept_sig_position, kept_free_sig);
      ++failed_inferences;
      return;
    }
  } else {
    if (c->nr_ordering > 0 && !orderings_hold(a)) {
      ++failed_inferences;
      return;
    }
    // The start step logs nothing itself, but lemma steps directly below it
    // may; its mark keeps their records within this step.
    if (logs) push_v_mark();
    if (logs && c->nr_ordering > 0) mark_entailed();
  }

  const std::int64_t kept_free_copies = c->free_copies;
  const std::size_t kept_c_stack = actual_c_stack;
  SubgoalGroup* const kept_subgoals = global_subgoals;
  ++successful_inferences;
  a->parent = s;
  const std::int64_t nd = eq_trail - eq_start;  // differences recorded by this step
  if (foldup) {
    Literal* link = s != nullptr ? s : foldup_root;
    for (std::int64_t i = n - 1; i >= 0; --i)
      a->subgoals[i].foldup_link = a->subgoals[i].branch_link = link;
    for (std::int64_t i = 1; i <= nd; ++i) {
      Literal* difference = eq_trail_literals[eq_start + i];
      difference->foldup_link = difference->branch_link = link;
    }
  }
  if (c->free_copies + 1 == c->nr_copies)
    append_copy(c, make_clause_copy(c->literals, n, c, c->copy_tag));
  c->free_copies += 1;
  std::int64_t d2 = sat_add(sat_add(d, n), nd) - (s != nullptr ? 1 : 0);
  if (s != nullptr) s->mate = p;
  inf = d2;
  const bool pushes_copy = s == nullptr || n > 1;
  if (pushes_copy || nd > 0) {
    a->depth_left = sat_sub(r, 1);
    a->entry_inferences = d2;
    if (weighted_depth)
      a->weighted_limit =
          sat_sub(sat_add(sat_mul(100, sat_sub(r, 1)), wd1), sat_mul(wd2, sat_add(n, nd) - 1));
    if (pushes_copy) {
      a->group.older = global_subgoals;
      global_subgoals = &a->group;
    }
    if (nd > 0) {
      SubgoalGroup* g = eq_trail_groups[static_cast<std::size_t>(eq_start + 1)];
      *g = SubgoalGroup{nullptr, eq_start + 1, nd, global_subgoals, !pushes_copy};
      global_subgoals = g;
      a->differences = eq_start + 1;
    } else {
      a->differences = 0;
    }
    if (s != nullptr) p->selected = true;  // the connected literal is closed
  }

  if (record_derivations) {
    copy_stack.push_back(a);
    copy_stack_uses.push_back(lemma_uses.size());
  }
  const bool ordered = c->nr_ordering > 0;
  if (ordered) ordered_copies.push_back(a);
  if (s != nullptr && !pushes_copy && nd == 0) s->closed = true;  // a unit clause closes it
  solve_next(d2, k - 2 + n + nd);
  if (ordered) ordered_copies.pop_back();
  if (record_derivations) {
    copy_stack.pop_back();
    copy_stack_uses.pop_back();
  }

  global_subgoals = kept_subgoals;
  if (s != nullptr) {
    p->selected = false;
    if (logs) undo_v_trail();
    if (constraints) c_stack = kept_c_stack;
    eq_trail = eq_start;
    unbind_vars();
  } else if (logs) {
    undo_v_trail();
  }
  if (signature_bound) undo_signature(kept_sig_position, kept_free_sig);
  c->free_copies = kept_free_copies;
}

void Prover::solve_subgoal(Literal* s, ConnectionList* l, std::int64_t r, std::int64_t d,
                           std::int64_t k) {
  // Element -1 stands for the reduction marker at the head of the list.
  const std::int64_t first = l->reduction ? -1 : 0;
  // The lemma index only grows, and every alternative leaves s as it found
  // it: entering s again changes nothing, and a lookup that failed fails
  // again until a new lemma has been entered.
  std::int64_t lemmas_looked_up = -1;
  if (reflexivity_clause != nullptr && s->sign == '-' && s->predicate == equal_predicate) {
    // s != t is closed by reflexivity before anything else; when s and t
    // are identical already, that binds nothing, and every other way to
    // solve the subgoal could only bind more.
    const bool identical = ref_equal(ref(s->args[0]), ref(s->args[1]));
    extension_solve(s, reflexivity_clause, &first_free_copy(reflexivity_clause)->subgoals[0], r, d,
                    k);
    if (identical || (restricted_backtracking && s->closed)) return;
  }
  for (std::int64_t e = first; e < l->count; ++e) {
    // With restricted backtracking, once an alternative has solved the
    // subgoal, the failure of what follows is not undone by solving it again.
    if (restricted_backtracking) {
      if (e > first && s->closed) return;
      s->closed = false;
    }
    if (sgindex && nr_lemmas != lemmas_looked_up) {
      if (k == 1 && e == first) {
        lemmatype = 0;
        in_lemma_index_subgoal(s);
      }
      if (find_matching_lemma(s)) {  // lemma step
        SubgoalGroup* kept = global_subgoals;
        ++successful_inferences;
        ++successful_matchings;
        ++nr_matchings;
        if (record_derivations) push_lemma_use();
        s->closed = true;
        solve_next(d, k - 1);
        if (record_derivations) {
          lemma_use_terms.resize(lemma_uses.back().first);
          lemma_uses.pop_back();
        }
        --nr_matchings;
        global_subgoals = kept;
        return;
      }
      lemmas_looked_up = nr_lemmas;
    }
    if (e < 0) {
      reduction_solve(s, foldup ? s->foldup_link : s->copy->parent, d, k);
    } else {
      const Connection& c = l->entries[e];
      if (c.clause == reflexivity_clause) continue;  // tried first
      // The refusals at the depth bound that extension_solve would begin
      // with, without taking the clauses' copies: most failed extension
      // attempts end here.  A refusal changes nothing that the following
      // elements look at (not even the lemma index), so a row of them is
      // counted at once.
      const std::int64_t row = r <= 0 && l->non_units != nullptr ? l->non_units[e] : 0;
      if (row > 0) {
        refuse_at_bound(row);
        e += row - 1;
      } else if (r <= 0 && c.clause->length > 1) {
        refuse_at_bound(1);
      } else {
        extension_solve(s, c.clause, &first_free_copy(c.clause)->subgoals[c.index], r, d, k);
      }
    }
    if (subgoal_alternation != 0) {
      // Alternation would be needed when a unit alternative (or a reduction)
      // is followed by a longer clause; after the last alternative there is
      // nothing left to alternate with.
      if (e + 1 >= l->count) return;
      const Connection& next = l->entries[e + 1];
      if (next.clause->length > 1 && (e < 0 || l->entries[e].clause->length == 1)) {
        print("Subgoal alternation: not implemented!\n");
        end_run(Outcome::kUnsupported, 1);
      }
    }
  }
}

// Without foldup the candidates are the ancestors of s; with foldup they are
// the nodes of s's foldup chain, ancestors and lemmas, of which only those
// of s's predicate and the other sign are looked at.
void Prover::reduction_solve(Literal* s, Literal* a, std::int64_t d, std::int64_t k) {
  if (foldup) {
    walk_foldup_chain(a, s->predicate, s->sign == '-' ? '+' : '-', [&](Literal* c) {
      try_reduction(s, c, d, k);
      return true;
    });
    return;
  }
  for (; a != nullptr; a = a->copy->parent) {
    tick();
    if (a->sign == s->sign || a->predicate != s->predicate) continue;
    try_reduction(s, a, d, k);
  }
}

// A reduction step of s with the candidate a, of s's predicate and the other
// sign, and everything below it.
void Prover::try_reduction(Literal* s, Literal* a, std::int64_t d, std::int64_t k) {
  const bool logs = constraints || foldup || index_foldup;
  if (matings_pruning && a->mate != nullptr) {
    const Literal* m = a->mate;
    std::int64_t ns = s->copy->clause->number, nm = m->copy->clause->number;
    if (!(ns > nm || (ns == nm && s->number > m->number))) return;
  }
  push_mark();
  if (!unify_lists(s->args, a->args, s->predicate->arity)) {
    ++failed_inferences;
    return;
  }
  if (equality_modification && !orderings_hold(nullptr)) {
    unbind_vars();
    ++failed_inferences;
    return;
  }
  if (!constraints) {
    if (logs) {
      push_v_mark();
      if (equality_modification) mark_entailed();
      mark_reduction(a, d);
    }
  } else {
    push_v_mark();
    if (equality_modification) mark_entailed();
    actual_c_stack = c_stack;
    if (propagate_substitution()) {
      if (foldup || index_foldup) mark_reduction(a, d);
    } else {
      c_stack = actual_c_stack;
      undo_v_trail();
      unbind_vars();
      ++constraint_fails;
      ++failed_inferences;
      return;
    }
  }
  SubgoalGroup* const kept_subgoals = global_subgoals;
  const std::size_t kept_c_stack = actual_c_stack;
  ++successful_inferences;
  ++successful_reduction_steps;
  ++nr_reduction_steps;
  s->closed = true;
  solve_next(d, k - 1);
  --nr_reduction_steps;
  global_subgoals = kept_subgoals;
  if (logs) undo_v_trail();
  if (constraints) c_stack = kept_c_stack;
  unbind_vars();
}

void Prover::mark_reduction(Literal* a, std::int64_t d) {
  log_write(a->reduction_mark);
  a->reduction_mark = d;
}

// `d` is one less than the inference count at which the copy entered from P
// was entered: a reduction mark above it was set inside P's subtree, so P's
// solution depends on that partner and the lemma may only live below it.
void Prover::fold_up(Literal* p, std::int64_t d) {
  if (!foldup) {
    for (Literal* q = p; q != nullptr; q = q->copy->parent)
      if (q->reduction_mark > d) return;
    lemmatype = 1;
    comp_in_lemma_index_subgoal(p);
    return;
  }
  // A solution that used P itself as a reduction partner proves nothing
  // that P could be given as a lemma for.
  if (p->reduction_mark > d) return;
  Literal* target = foldup_root;
  for (Literal* q = p->foldup_link; q != nullptr; q = q->foldup_link)
    if (q->reduction_mark > d) {
      target = q;
      break;
    }
  log_write(target->foldup_link);
  log_write(p->sign);
  log_write(p->foldup_link);
  p->sign = p->sign == '-' ? '+' : '-';
  group_lemma(p, target);
  p->foldup_link = target->foldup_link;
  target->foldup_link = p;
  if (index_foldup && target == foldup_root) {
    lemmatype = 1;
    in_lemma_index_subgoal(p);
  }
}

Literal* Prover::lemma_group(Literal* anchor, Predicate* predicate, char sign) const {
  if (anchor == foldup_root) return predicate->root_lemmas[sign == '+'];
  if ((anchor->lemma_keys & lemma_key_bit(predicate, sign)) == 0) return nullptr;
  Literal* g = anchor->lemma_groups;
  while (g != nullptr && (g->predicate != predicate || g->sign != sign)) g = g->group_next;
  return g;
}

// Where the first lemma of P's predicate and sign at the anchor is held: a
// slot of the predicate record at the root, else the anchor's slot or a
// group's `group_next`; null in it when there is no such lemma yet.
Literal** Prover::lemma_group_slot(Literal* anchor, Literal* p) {
  if (anchor == foldup_root) return &p->predicate->root_lemmas[p->sign == '+'];
  Literal** place = &anchor->lemma_groups;
  while (*place != nullptr && ((*place)->predicate != p->predicate || (*place)->sign != p->sign))
    place = &(*place)->group_next;
  return place;
}

// Enters the lemma P (its sign already flipped), which the chain is about to
// place right after `target`, into the groups of its anchor: the target
// itself when that is a subgoal on the branch or the root, else the
// target's own anchor.  In the group of P's predicate and sign, P comes
// after the group's lemmas that precede the target in the chain (the
// target included) and before the others.  Every write to a record already
// in the groups is logged; of P's own fields, only `anchor` is read while P
// is no lemma, and it is logged too.
void Prover::group_lemma(Literal* p, Literal* target) {
  Literal* anchor = target->anchor != nullptr ? target->anchor : target;
  log_write(p->anchor);
  p->anchor = anchor;
  if (target != anchor && target->predicate == p->predicate && target->sign == p->sign) {
    p->key_next = target->key_next;
    log_write(target->key_next);
    target->key_next = p;
    return;
  }
  Literal** place = lemma_group_slot(anchor, p);
  Literal* head = *place;
  // The group's first lemma after P's place: its first lemma when P goes to
  // the front of the anchor's lemmas, else the first one after the target.
  Literal* after = head;
  if (target != anchor && head != nullptr) {
    after = target->foldup_link;
    while (after != nullptr && after->anchor == anchor &&
           (after->predicate != p->predicate || after->sign != p->sign))
      after = after->foldup_link;
    if (after != nullptr && after->anchor != anchor) after = nullptr;
  }
  p->key_next = after;
  if (after == head) {  // P becomes the group's first lemma, or makes the group
    if (head != nullptr) {
      p->group_next = head->group_next;
    } else if (anchor != foldup_root) {
      p->group_next = anchor->lemma_groups;
      place = &anchor->lemma_groups;
      log_write(anchor->lemma_keys);
      anchor->lemma_keys |= lemma_key_bit(p->predicate, p->sign);
    }
    log_write(*place);
    *place = p;
  } else {
    Literal* before = head;
    while (before->key_next != after) before = before->key_next;
    log_write(before->key_next);
    before->key_next = p;
  }
}

}  // namespace velkor
