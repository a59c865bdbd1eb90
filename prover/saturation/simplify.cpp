// Simplification: what makes a clause redundant or replaces it by a
// simpler one, forward (a new clause by the active ones) and backward (the
// active ones by the new given clause).
//
// - Rewriting by unit equations, innermost first, each subterm to its
//   normal form.  An oriented unit rewrites any instance of its greater
//   side; an unorientable one an instance where that side is the greater.
//   At the top of a side of a positive equation s = u the rewrite s -> r
//   needs u > r as well, so that the unit's instance is smaller than the
//   clause it simplifies.  The term bank remembers, per term, which unit
//   rewrote it at its top, or that none of the units indexed so far does.
// - Subsumption: C subsumes D when an instance of C's literals is among
//   D's, each literal of D used once.  A new clause is only checked
//   against the unit clauses; the full test waits until it is picked, when
//   most new clauses have long been dropped or are never picked at all.
// - Subsumption resolution by unit clauses: a literal of D whose
//   complement is an instance of a unit is deleted (and a unit given
//   clause cuts such literals from the active clauses).  Literals "a" = "b"
//   between two distinct objects go the same way, cut by the theory's
//   disequation.
// - Tautologies: a literal t = t, or a literal and its complement.
// With proofs, every rewrite and every cut is a clause of its own, so that
// each step of the derivation is one inference a checker can replay.
#include <algorithm>

#include "prover/saturation/state.hpp"

namespace velkor::saturation {

bool Saturation::forward_simplify(Clause*& c, bool given) {
  if (is_tautology(c)) {
    ++stats.tautologies;
    return false;
  }
  if (rewrite_clause(c)) {
    ++stats.forward_rewrites;
    if (is_tautology(c)) {
      ++stats.tautologies;
      return false;
    }
  }
  cut_distinct_objects(c);
  if (forward_subsumed(c, given)) {
    ++stats.forward_subsumed;
    return false;
  }
  forward_subsumption_resolution(c);
  return true;
}

bool Saturation::rewrite_clause(Clause*& c) {
  if (demodulators.entries() == 0) return false;
  Clause* const previous = rewriting;
  rewriting = c;
  rewrote_with_conjecture = false;
  rewrite_steps.clear();
  std::vector<Literal> literals(c->literals, c->literals + c->nr_literals);
  bool changed = false;
  for (std::uint32_t i = 0; i < literals.size(); ++i) {
    Literal& l = literals[i];
    if (!l.equation) {
      // The atom's arguments; the atom itself is no term.
      Term* atom = l.left;
      std::vector<Term*> args(atom->args, atom->args + atom->arity);
      bool moved = false;
      for (std::uint32_t k = 0; k < atom->arity; ++k) {
        rewrite_path.assign(1, k);
        args[k] = normal_form(atom->args[k], nullptr, i, 0);
        moved = moved || args[k] != atom->args[k];
      }
      if (moved) {
        l.left = bank.make(atom->symbol, args.data());
        changed = true;
      }
      continue;
    }
    for (std::uint32_t s = 0; s < 2; ++s) {
      Term*& side = s == 0 ? l.left : l.right;
      rewrite_path.clear();
      Term* normal = normal_form(side, l.positive ? side_of(l, 1 - s) : nullptr, i, s);
      changed = changed || normal != side;
      side = normal;
    }
  }
  rewriting = previous;
  if (!changed) return false;
  Clause* result;
  if (settings.proof) {
    result = replay_rewrites(c);
  } else {
    result = make_clause(literals, nullptr);
    result->from_conjecture = c->from_conjecture || rewrote_with_conjecture;
    if (c->state == ClauseState::kNew) free_clause(c);
  }
  c = result;
  return true;
}

Term* Saturation::normal_form(Term* t, Term* restricted_by, std::uint32_t literal,
                              std::uint32_t side) {
  for (;;) {
    if (t->variable) return t;
    if (t->arity > 0) {
      Term* args[16];
      std::vector<Term*> many;
      Term** out = args;
      if (t->arity > 16) {
        many.resize(t->arity);
        out = many.data();
      }
      bool moved = false;
      for (std::uint32_t k = 0; k < t->arity; ++k) {
        rewrite_path.push_back(k);
        out[k] = normal_form(t->args[k], nullptr, literal, side);
        rewrite_path.pop_back();
        moved = moved || out[k] != t->args[k];
      }
      if (moved) t = bank.make(t->symbol, out);
    }
    Clause* unit = nullptr;
    std::uint32_t unit_side = 0;
    Term* r = rewrite_top(t, restricted_by, unit, unit_side);
    if (r == nullptr) return t;
    if (settings.proof) rewrite_steps.push_back({literal, side, rewrite_path, unit, unit_side});
    rewrote_with_conjecture = rewrote_with_conjecture || unit->from_conjecture;
    t = r;
  }
}

Term* Saturation::rewrite_top(Term* t, Term* restricted_by, Clause*& unit,
                              std::uint32_t& unit_side) {
  const bool memo = restricted_by == nullptr;
  if (memo) {
    if (t->rewritten != nullptr && t->rewritten_by != rewriting) {
      unit = t->rewritten_by;
      unit_side = t->rewritten_side;
      return t->rewritten;
    }
    if (t->rewritten == nullptr && t->irreducible == demodulator_count) return nullptr;
  }
  Term* result = nullptr;
  // Units indexed before the term was last found irreducible need no
  // second look (unless the memo is not used here).
  const std::uint32_t seen = memo && t->rewritten == nullptr ? t->irreducible : 0;
  bool skipped = false;
  stats.rewriting.without_index += static_cast<std::int64_t>(demodulators.terms());
  demodulators.generalizations(t, [&](Term* pattern, std::vector<Occurrence>& at) {
    ++stats.rewriting.tried;
    matcher.reset(0);
    if (!matcher.match(pattern, t)) return false;
    for (const Occurrence& o : at) {
      if (o.position < seen) continue;
      if (o.clause == rewriting) {
        skipped = true;
        continue;
      }
      const Literal& eq = o.clause->literals[0];
      Term* other = side_of(eq, 1 - o.side);
      const bool oriented = eq.order == (o.side == 0 ? Order::kGreater : Order::kLess);
      if (!oriented && !ordering.greater_than_instance(t, other, matcher, o.clause->permutative))
        continue;
      Term* r = matcher.apply(bank, other);
      if (restricted_by != nullptr && !ordering.greater(restricted_by, r)) continue;
      result = r;
      unit = o.clause;
      unit_side = o.side;
      return true;
    }
    return false;
  });
  // A unit that did not look at its own sides leaves the term unsettled.
  if (memo && t->rewritten == nullptr && !(skipped && result == nullptr)) {
    if (result != nullptr) {
      t->rewritten = result;
      t->rewritten_by = unit;
      t->rewritten_side = static_cast<std::uint8_t>(unit_side);
    } else {
      t->irreducible = demodulator_count;
    }
  }
  return result;
}

// The rewrites found, one clause each: every intermediate is owned by the
// next, so the chain goes when its last clause does.
Clause* Saturation::replay_rewrites(Clause* c) {
  Clause* current = c;
  std::vector<std::uint32_t> where(c->nr_literals);
  for (std::uint32_t i = 0; i < c->nr_literals; ++i) where[i] = i;
  std::vector<std::uint32_t> kept;
  std::vector<Literal> literals;
  for (const RewriteStep& step : rewrite_steps) {
    // A literal that went as t != t, or merged with a twin that its
    // remaining rewrites have already reached, takes no more steps.
    const std::uint32_t i = where[step.literal];
    if (i == kGone) continue;
    const Literal& l = current->literals[i];
    Term* side = side_of(l, step.side);
    Term* at = side;
    for (std::uint32_t k : step.path) at = at != nullptr && k < at->arity ? at->args[k] : nullptr;
    if (at == nullptr) continue;
    const Literal& eq = step.unit->literals[0];
    matcher.reset(step.unit->nr_variables);
    if (!matcher.match(side_of(eq, step.unit_side), at)) continue;
    Term* by = matcher.apply(bank, side_of(eq, 1 - step.unit_side));
    literals.assign(current->literals, current->literals + current->nr_literals);
    (step.side == 0 ? literals[i].left : literals[i].right) =
        replace_at(bank, side, step.path.data(), step.path.size(), by);
    Derivation* d = derivation(Rule::kDemodulation);
    d->parents[0] = step.unit;
    d->parents[1] = current;
    d->literal[0] = 0;
    d->literal[1] = i;
    d->side[0] = static_cast<std::uint8_t>(step.unit_side);
    d->side[1] = static_cast<std::uint8_t>(step.side);
    d->path = step.path;
    for (std::uint32_t v = 0; v < step.unit->nr_variables; ++v)
      d->bindings[0].push_back(matcher.binding(v) != nullptr ? matcher.binding(v)
                                                             : bank.variable(v));
    d->owned = current->state == ClauseState::kNew ? current : nullptr;
    Clause* next = make_clause(literals, d, nullptr, &kept);
    next->from_conjecture = current->from_conjecture || step.unit->from_conjecture;
    std::vector<bool> first(next->nr_literals, true);
    for (std::uint32_t& w : where) {
      if (w == kGone) continue;
      w = kept[w];
      if (w != kGone && !first[w]) w = kGone;  // a twin of an earlier literal
      if (w != kGone) first[w] = false;
    }
    current = next;
  }
  return current;
}

bool Saturation::subsumes(const Clause* general, const Clause* special, std::int64_t cut,
                          std::int64_t* cut_at) {
  if (general->nr_literals > special->nr_literals) return false;
  matcher.reset(general->nr_variables);
  used_literals.assign(special->nr_literals, false);
  return subsume_from(general, special, 0, cut, cut_at);
}

bool Saturation::subsume_from(const Clause* general, const Clause* special, std::uint32_t k,
                              std::int64_t cut, std::int64_t* cut_at) {
  if (k == general->nr_literals) return true;
  const Literal& g = general->literals[k];
  const bool positive = g.positive != (static_cast<std::int64_t>(k) == cut);
  for (std::uint32_t j = 0; j < special->nr_literals; ++j) {
    if (used_literals[j]) continue;
    const Literal& s = special->literals[j];
    if (s.positive != positive || s.equation != g.equation) continue;
    for (int swap = 0; swap < (g.equation ? 2 : 1); ++swap) {
      const std::size_t mark = matcher.mark();
      if (matcher.match(g.left, swap ? s.right : s.left) &&
          matcher.match(g.right, swap ? s.left : s.right)) {
        used_literals[j] = true;
        if (static_cast<std::int64_t>(k) == cut && cut_at != nullptr) *cut_at = j;
        if (subsume_from(general, special, k + 1, cut, cut_at)) return true;
        used_literals[j] = false;
      }
      matcher.undo(mark);
    }
  }
  return false;
}

// A literal of c that is an instance of a unit clause: c is subsumed (same
// sign) or loses the literal (opposite sign).  The units are indexed by
// both sides of an equation, so one query finds either orientation.
std::int64_t Saturation::unit_instance(const Clause* c, std::uint32_t j, bool same_sign,
                                       Clause*& unit) {
  const Literal& l = c->literals[j];
  auto& index = units[l.positive == same_sign ? 1 : 0];
  std::int64_t found = -1;
  stats.subsumption.without_index += static_cast<std::int64_t>(index.terms());
  index.generalizations(l.left, [&](Term* pattern, std::vector<Occurrence>& at) {
    ++stats.subsumption.tried;
    for (const Occurrence& o : at) {
      const Literal& u = o.clause->literals[0];
      if (u.equation != l.equation) continue;
      matcher.reset(o.clause->nr_variables);
      if (matcher.match(pattern, l.left) && matcher.match(side_of(u, 1 - o.side), l.right)) {
        unit = o.clause;
        found = o.side;
        return true;
      }
    }
    return false;
  });
  return found;
}

bool Saturation::forward_subsumed(const Clause* c, bool given) {
  Clause* unit = nullptr;
  for (std::uint32_t j = 0; j < c->nr_literals; ++j)
    if (unit_instance(c, j, true, unit) >= 0) return true;
  if (!given || c->nr_literals < 2 || subsumption_index.entries() == 0) return false;
  scratch_features2.resize(kFeatures);
  features_of(c, scratch_features2.data());
  stats.subsumption.without_index += static_cast<std::int64_t>(subsumption_index.entries());
  bool found = false;
  subsumption_index.at_most(scratch_features2.data(), [&](Clause* d) {
    ++stats.subsumption.tried;
    found = d->nr_literals > 1 && subsumes(d, c);
    return found;
  });
  return found;
}

void Saturation::forward_subsumption_resolution(Clause*& c) {
  for (std::uint32_t j = 0; j < c->nr_literals; ++j) {
    Clause* unit = nullptr;
    if (unit_instance(c, j, false, unit) < 0) continue;
    c = cut_literal(c, j, unit, 0);
    j = ~std::uint32_t{0};  // again from the first literal of the shorter clause
  }
}

Clause* Saturation::cut_literal(Clause* c, std::uint32_t literal, Clause* by,
                                std::uint32_t by_literal) {
  std::vector<Literal> literals;
  for (std::uint32_t k = 0; k < c->nr_literals; ++k)
    if (k != literal) literals.push_back(c->literals[k]);
  Derivation* d = derivation(Rule::kSubsumptionResolution);
  if (d != nullptr) {
    d->parents[0] = by;
    d->parents[1] = c;
    d->literal[0] = by_literal;
    d->literal[1] = literal;
    for (std::uint32_t v = 0; v < by->nr_variables; ++v)
      d->bindings[0].push_back(matcher.binding(v));
    d->owned = c->state == ClauseState::kNew ? c : nullptr;
  }
  Clause* result = make_clause(literals, d);
  result->from_conjecture = c->from_conjecture || by->from_conjecture;
  if (d == nullptr && c->state == ClauseState::kNew) free_clause(c);
  ++stats.subsumption_resolutions;
  return result;
}

Clause* Saturation::distinct_leaf(Term* a, Term* b) {
  if (a->symbol > b->symbol) std::swap(a, b);
  const std::uint64_t key = (std::uint64_t{a->symbol} << 32) | b->symbol;
  Clause*& leaf = distinct_leaves[key];
  if (leaf == nullptr) {
    std::vector<Literal> literals(1);
    literals[0] = Literal{a, b, false, true, Order::kIncomparable, false, false};
    leaf = make_clause(literals, derivation(Rule::kTheory));
    leaf->state = ClauseState::kRetired;
  }
  return leaf;
}

void Saturation::cut_distinct_objects(Clause*& c) {
  for (std::uint32_t i = 0; i < c->nr_literals; ++i) {
    const Literal& l = c->literals[i];
    if (!l.positive || !l.equation || l.left == l.right || !distinct_constant(l.left) ||
        !distinct_constant(l.right))
      continue;
    matcher.reset(0);
    c = cut_literal(c, i, distinct_leaf(l.left, l.right), 0);
    i = ~std::uint32_t{0};
  }
}

void Saturation::backward_simplify(Clause* given) {
  if (given->unit_equation()) backward_rewrite(given);
  if (stop()) return;
  scratch_features.resize(kFeatures);
  // Active clauses the given one subsumes go.
  features_of(given, scratch_features.data());
  std::vector<Clause*> subsumed;
  subsumption_index.at_least(scratch_features.data(), [&](Clause* d) {
    if (d != given && subsumes(given, d)) subsumed.push_back(d);
    return false;
  });
  for (Clause* d : subsumed) {
    if (d->state != ClauseState::kActive) continue;
    deactivate(d);
    ++stats.backward_subsumed;
  }
  // A unit cuts its complement's instances from active clauses, which are
  // replaced by the shorter clauses.
  if (given->nr_literals != 1) return;
  std::vector<std::pair<Clause*, Clause*>> cut;
  features_of(given, scratch_features.data(), 0);
  subsumption_index.at_least(scratch_features.data(), [&](Clause* d) {
    std::int64_t at = -1;
    if (d != given && subsumes(given, d, 0, &at))
      cut.emplace_back(d, cut_literal(d, static_cast<std::uint32_t>(at), given, 0));
    return false;
  });
  for (auto [d, shorter] : cut) {
    if (d->state != ClauseState::kActive || stop()) {
      free_clause(shorter);
      continue;
    }
    deactivate(d);
    keep(shorter);
  }
}

void Saturation::backward_rewrite(Clause* unit) {
  std::vector<Clause*> candidates;
  for (Term* side : demodulator_sides(unit)) {
    stats.backward_rewriting.without_index += static_cast<std::int64_t>(subterm_index.terms());
    subterm_index.retrieve(side, Retrieval::kInstances, [&](Term* t, std::vector<Clause*>& in) {
      ++stats.backward_rewriting.tried;
      matcher.reset(0);
      if (!matcher.match(side, t)) return false;
      for (Clause* d : in)
        if (d != unit) candidates.push_back(d);
      return false;
    });
  }
  std::sort(candidates.begin(), candidates.end(),
            [](const Clause* a, const Clause* b) { return a->id < b->id; });
  candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
  for (Clause* d : candidates) {
    if (stop()) return;
    if (d->state != ClauseState::kActive) continue;
    Clause* rewritten = d;
    if (!rewrite_clause(rewritten)) continue;
    deactivate(d);
    ++stats.backward_rewrites;
    keep(rewritten);
  }
}

}  // namespace velkor::saturation
