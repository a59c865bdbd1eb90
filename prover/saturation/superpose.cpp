// The generating inferences of a given clause with itself and the active
// clauses: superposition both ways, ordered resolution, equality
// resolution, equality factoring and ordered factoring.
//
// Partners come from the indexes: the terms that may unify are retrieved,
// unified once, and every clause position filed under such a term yields
// an inference under that one unifier.  The ordering conditions are
// checked on the instances the conclusion is built from: the literal a
// clause takes part with must be (strictly) maximal in its instance, the
// rewriting side not smaller than the other.  A partner is read at the
// given clause's variable count as offset, so both are renamed apart.
#include <algorithm>

#include "prover/saturation/state.hpp"

namespace velkor::saturation {
namespace {

// Terms heavier than this are never compared or kept, whatever the limit
// of the strategy: their trees may be exponentially larger than their
// shared form.
constexpr std::uint64_t kHardWeightLimit = 1'000'000;

bool not_smaller(Order o) {
  return o == Order::kGreater || o == Order::kIncomparable;
}

}  // namespace

void Saturation::generate(Clause* given) {
  superpose_from(given);
  if (!stop()) superpose_into(given);
  if (!stop()) resolve(given);
  if (!stop()) equality_resolution(given);
  if (!stop()) equality_factoring(given);
  if (!stop()) factoring(given);
}

void Saturation::discard(const char* why) {
  ++stats.discarded;
  if (complete) incomplete_reason = why;
  complete = false;
}

bool Saturation::too_heavy(const Term* t) {
  const std::uint64_t limit = strategy.max_weight > 0 ? strategy.max_weight : kHardWeightLimit;
  if (t->weight <= limit) return false;
  discard("a conclusion above the weight limit");
  return true;
}

void Saturation::instances(const Clause* c, std::uint32_t offset, std::vector<Literal>& out) {
  out.clear();
  for (std::uint32_t i = 0; i < c->nr_literals; ++i) {
    Literal l = c->literals[i];
    l.left = subst.apply(bank, l.left, offset);
    l.right = subst.apply(bank, l.right, offset);
    out.push_back(l);
  }
}

bool Saturation::maximal_in(const std::vector<Literal>& literals, std::size_t i, bool strict) {
  const Literal& l = literals[i];
  for (std::size_t k = 0; k < literals.size(); ++k) {
    if (k == i) continue;
    const Literal& m = literals[k];
    const Order o =
        ordering.compare_literals(m.left, m.right, m.positive, l.left, l.right, l.positive);
    if (o == Order::kGreater || (strict && o == Order::kEqual)) return false;
  }
  return true;
}

void Saturation::conclude(std::vector<Literal>& literals, Derivation* d, Clause* p0,
                          std::uint32_t o0, Clause* p1, std::uint32_t o1, int rule) {
  ++stats.by_rule[rule];
  for (const Literal& l : literals)
    if (too_heavy(l.left) || too_heavy(l.right)) {
      delete d;
      return;
    }
  Clause* c;
  if (d == nullptr) {
    c = make_clause(literals, nullptr);
  } else {
    d->parents[0] = p0;
    d->parents[1] = p1;
    for (int k = 0; k < 2; ++k) {
      Clause* p = k == 0 ? p0 : p1;
      if (p == nullptr) continue;
      const std::uint32_t offset = k == 0 ? o0 : o1;
      for (std::uint32_t v = 0; v < p->nr_variables; ++v)
        d->bindings[k].push_back(subst.apply(bank, bank.variable(v), offset));
    }
    std::vector<std::uint32_t> map;
    c = make_clause(literals, d, &map);
    // Variables of the bindings that are not the conclusion's come after them.
    std::uint32_t next = c->nr_variables;
    map.resize(subst.renamed(), kGone);
    for (std::uint32_t& m : map)
      if (m == kGone) m = next++;
    for (auto& bindings : d->bindings)
      for (Term*& t : bindings) t = rename(bank, t, map);
  }
  c->from_conjecture = p0->from_conjecture || (p1 != nullptr && p1->from_conjecture);
  ++stats.generated;
  keep(c);
}

void Saturation::superpose_from(Clause* given) {
  if (given->has_selection) return;
  const std::uint32_t ng = given->nr_variables;
  for (std::uint32_t i = 0; i < given->nr_literals && !stop(); ++i) {
    const Literal& l = given->literals[i];
    if (!l.positive || !l.equation || !l.maximal) continue;
    for (std::uint32_t s = 0; s < 2 && !stop(); ++s) {
      if (!eligible_side(l, s)) continue;
      Term* from = side_of(l, s);
      stats.superposition.without_index += static_cast<std::int64_t>(into_index.terms());
      into_index.retrieve(from, Retrieval::kUnifiable, [&](Term* t, std::vector<Occurrence>& at) {
        ++stats.superposition.tried;
        subst.reset(ng + t->variables);
        if (!subst.unify(from, 0, t, ng)) return false;
        for (std::size_t k = 0; k < at.size() && !stop(); ++k) {
          const Occurrence o = at[k];
          superposition(given, 0, i, s, o.clause, ng, o.literal, o.side, o.position);
        }
        return stop();
      });
    }
  }
}

void Saturation::superpose_into(Clause* given) {
  const std::uint32_t ng = given->nr_variables;
  // Nothing below refills scratch_into: no copy for each given clause.
  into_positions(given, scratch_into);
  for (const auto& entry : scratch_into) {
    // Named copies, not a structured binding: clang before 16 cannot capture one in a lambda.
    Term* const t = entry.first;
    const Occurrence into = entry.second;
    if (stop()) return;
    stats.superposition.without_index += static_cast<std::int64_t>(from_index.terms());
    from_index.retrieve(t, Retrieval::kUnifiable, [&](Term* from, std::vector<Occurrence>& at) {
      ++stats.superposition.tried;
      subst.reset(ng + from->variables);
      if (!subst.unify(t, 0, from, ng)) return false;
      for (std::size_t k = 0; k < at.size() && !stop(); ++k) {
        const Occurrence o = at[k];
        // The given clause into itself was done from its side.
        if (o.clause == given) continue;
        superposition(o.clause, ng, o.literal, o.side, given, 0, into.literal, into.side,
                      into.position);
      }
      return stop();
    });
  }
}

void Saturation::superposition(Clause* from, std::uint32_t fo, std::uint32_t fl, std::uint32_t fs,
                               Clause* into, std::uint32_t io, std::uint32_t il, std::uint32_t is,
                               std::uint32_t position) {
  subst.grow(std::max(fo + from->nr_variables, io + into->nr_variables));
  subst.forget_renaming();
  const Literal& rule = from->literals[fl];
  const Literal& target = into->literals[il];
  Term* l = subst.apply(bank, side_of(rule, fs), fo);
  Term* r = subst.apply(bank, side_of(rule, 1 - fs), fo);
  if (too_heavy(l) || too_heavy(r) || !not_smaller(ordering.compare(l, r))) return;
  std::vector<Literal>& into_inst = scratch_into_inst;
  std::vector<Literal>& from_inst = scratch_from_inst;
  instances(into, io, into_inst);
  Term* u = side_of(into_inst[il], is);
  Term* v = side_of(into_inst[il], 1 - is);
  if (too_heavy(u) || too_heavy(v)) return;
  if (target.equation && !not_smaller(ordering.compare(u, v))) return;
  if (!into->has_selection && !maximal_in(into_inst, il, target.positive)) return;
  instances(from, fo, from_inst);
  if (!maximal_in(from_inst, fl, true)) return;

  path_of(side_of(target, is), position, scratch_path);
  Term* rewritten = replace_at(bank, u, scratch_path.data(), scratch_path.size(), r);
  std::vector<Literal>& conclusion = scratch_literals;
  conclusion = into_inst;
  (is == 0 ? conclusion[il].left : conclusion[il].right) = rewritten;
  for (std::uint32_t k = 0; k < from_inst.size(); ++k)
    if (k != fl) conclusion.push_back(from_inst[k]);
  Derivation* d = derivation(Rule::kSuperposition);
  if (d != nullptr) {
    d->literal[0] = fl;
    d->literal[1] = il;
    d->side[0] = static_cast<std::uint8_t>(fs);
    d->side[1] = static_cast<std::uint8_t>(is);
    d->path = scratch_path;
  }
  conclude(conclusion, d, from, fo, into, io, 0);
}

void Saturation::resolve(Clause* given) {
  const std::uint32_t ng = given->nr_variables;
  for (std::uint32_t i = 0; i < given->nr_literals && !stop(); ++i) {
    const Literal& l = given->literals[i];
    if (l.equation || !eligible_for_inferences(given, i)) continue;
    auto& partners = resolution_index[l.positive ? 0 : 1];
    stats.resolution.without_index += static_cast<std::int64_t>(partners.terms());
    partners.retrieve(l.left, Retrieval::kUnifiable, [&](Term* t, std::vector<Occurrence>& at) {
      ++stats.resolution.tried;
      subst.reset(ng + t->variables);
      if (!subst.unify(l.left, 0, t, ng)) return false;
      for (std::size_t k = 0; k < at.size() && !stop(); ++k) {
        const Occurrence o = at[k];
        // The given clause with itself once, from its positive literal.
        if (o.clause == given && !l.positive) continue;
        if (l.positive)
          resolution(given, 0, i, o.clause, ng, o.literal);
        else
          resolution(o.clause, ng, o.literal, given, 0, i);
      }
      return stop();
    });
  }
}

void Saturation::resolution(Clause* pos, std::uint32_t po, std::uint32_t pl, Clause* neg,
                            std::uint32_t no, std::uint32_t nl) {
  subst.grow(std::max(po + pos->nr_variables, no + neg->nr_variables));
  subst.forget_renaming();
  std::vector<Literal>& pos_inst = scratch_from_inst;
  std::vector<Literal>& neg_inst = scratch_into_inst;
  instances(pos, po, pos_inst);
  if (!maximal_in(pos_inst, pl, true)) return;
  instances(neg, no, neg_inst);
  if (!neg->has_selection && !maximal_in(neg_inst, nl, false)) return;
  std::vector<Literal>& conclusion = scratch_literals;
  conclusion.clear();
  for (std::uint32_t k = 0; k < pos_inst.size(); ++k)
    if (k != pl) conclusion.push_back(pos_inst[k]);
  for (std::uint32_t k = 0; k < neg_inst.size(); ++k)
    if (k != nl) conclusion.push_back(neg_inst[k]);
  Derivation* d = derivation(Rule::kResolution);
  if (d != nullptr) {
    d->literal[0] = pl;
    d->literal[1] = nl;
  }
  conclude(conclusion, d, pos, po, neg, no, 1);
}

void Saturation::equality_resolution(Clause* given) {
  for (std::uint32_t i = 0; i < given->nr_literals && !stop(); ++i) {
    const Literal& l = given->literals[i];
    if (l.positive || !l.equation || !eligible_for_inferences(given, i)) continue;
    subst.reset(given->nr_variables);
    if (!subst.unify(l.left, 0, l.right, 0)) continue;
    std::vector<Literal>& inst = scratch_into_inst;
    instances(given, 0, inst);
    if (!given->has_selection && !maximal_in(inst, i, false)) continue;
    std::vector<Literal>& conclusion = scratch_literals;
    conclusion.clear();
    for (std::uint32_t k = 0; k < inst.size(); ++k)
      if (k != i) conclusion.push_back(inst[k]);
    Derivation* d = derivation(Rule::kEqualityResolution);
    if (d != nullptr) d->literal[0] = i;
    conclude(conclusion, d, given, 0, nullptr, 0, 3);
  }
}

void Saturation::equality_factoring(Clause* given) {
  if (given->has_selection) return;
  for (std::uint32_t i = 0; i < given->nr_literals && !stop(); ++i) {
    const Literal& l = given->literals[i];
    if (!l.positive || !l.equation || !l.maximal) continue;
    for (std::uint32_t s = 0; s < 2; ++s) {
      if (!eligible_side(l, s)) continue;
      for (std::uint32_t j = 0; j < given->nr_literals && !stop(); ++j) {
        const Literal& m = given->literals[j];
        if (j == i || !m.positive || !m.equation) continue;
        for (std::uint32_t s2 = 0; s2 < 2; ++s2) {
          subst.reset(given->nr_variables);
          if (!subst.unify(side_of(l, s), 0, side_of(m, s2), 0)) continue;
          std::vector<Literal>& inst = scratch_into_inst;
          instances(given, 0, inst);
          Term* u = side_of(inst[i], s);
          Term* v = side_of(inst[i], 1 - s);
          if (!not_smaller(ordering.compare(u, v)) || !maximal_in(inst, i, false)) continue;
          std::vector<Literal>& conclusion = scratch_literals;
          conclusion = inst;
          Literal& diseq = conclusion[i];
          diseq.positive = false;
          diseq.left = v;
          diseq.right = side_of(inst[j], 1 - s2);
          Derivation* d = derivation(Rule::kEqualityFactoring);
          if (d != nullptr) {
            d->literal[0] = i;
            d->literal[1] = j;
            d->side[0] = static_cast<std::uint8_t>(s);
            d->side[1] = static_cast<std::uint8_t>(s2);
          }
          conclude(conclusion, d, given, 0, nullptr, 0, 4);
        }
      }
    }
  }
}

void Saturation::factoring(Clause* given) {
  if (given->has_selection) return;
  for (std::uint32_t i = 0; i < given->nr_literals && !stop(); ++i) {
    const Literal& l = given->literals[i];
    if (!l.positive || l.equation || !l.maximal) continue;
    for (std::uint32_t j = 0; j < given->nr_literals && !stop(); ++j) {
      const Literal& m = given->literals[j];
      if (j == i || !m.positive || m.equation || m.left->symbol != l.left->symbol) continue;
      if (m.maximal && j < i) continue;  // the pair was tried from j
      subst.reset(given->nr_variables);
      if (!subst.unify(l.left, 0, m.left, 0)) continue;
      std::vector<Literal>& inst = scratch_into_inst;
      instances(given, 0, inst);
      if (!maximal_in(inst, i, false)) continue;
      std::vector<Literal>& conclusion = scratch_literals;
      conclusion.clear();
      for (std::uint32_t k = 0; k < inst.size(); ++k)
        if (k != j) conclusion.push_back(inst[k]);
      Derivation* d = derivation(Rule::kFactoring);
      if (d != nullptr) {
        d->literal[0] = i;
        d->literal[1] = j;
      }
      conclude(conclusion, d, given, 0, nullptr, 0, 2);
    }
  }
}

}  // namespace velkor::saturation
