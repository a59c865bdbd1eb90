// From the problem to the engine: symbols, the ordering's precedence and
// weights (chosen once the whole signature is known), the input clauses,
// and the disequations of distinct objects.
#include <algorithm>
#include <numeric>

#include "prover/saturation/state.hpp"
#include "tptp/writer.hpp"

namespace velkor::saturation {
namespace {

// Beyond this many pairs of distinct objects their disequations are not
// added; the literals between them are still cut, but a saturated set is
// then no proof of a model.
constexpr std::size_t kMaxDistinctPairs = 20000;

}  // namespace

std::uint32_t Saturation::symbol_for(std::uint32_t source, std::uint32_t arity, bool predicate) {
  const std::uint64_t key = (std::uint64_t{source} << 32) | (std::uint64_t{arity} << 1) | predicate;
  auto [it, inserted] = symbol_lookup.try_emplace(key, 0);
  if (inserted) {
    SymbolInfo info;
    info.source = source;
    info.arity = arity;
    info.predicate = predicate;
    info.distinct_object = !predicate && arity == 0 &&
                           std::find(distinct.begin(), distinct.end(), source) != distinct.end();
    it->second = bank.add_symbol(info);
  }
  return it->second;
}

void Saturation::read_problem() {
  // The signature first: the ordering depends on all of it.
  std::vector<std::uint32_t> stack;
  for (const tptp::Clause& clause : problem.clauses) {
    if (clause.always_true) continue;
    const bool conjecture = clause.role == tptp::Role::Conjecture;
    for (const tptp::Literal& l : clause.literals) {
      stack.clear();
      if (l.equality) {
        stack.push_back(l.left);
        stack.push_back(l.right);
      } else {
        const tptp::Term& atom = problem.terms[l.left];
        SymbolInfo& p = bank.symbol(symbol_for(atom.id, atom.arity, true));
        ++p.occurrences;
        p.in_conjecture = p.in_conjecture || conjecture;
        for (std::uint32_t k = 0; k < atom.arity; ++k)
          stack.push_back(problem.args[atom.first_arg + k]);
      }
      while (!stack.empty()) {
        const tptp::Term& t = problem.terms[stack.back()];
        stack.pop_back();
        if (t.is_variable) continue;
        SymbolInfo& f = bank.symbol(symbol_for(t.id, t.arity, false));
        ++f.occurrences;
        f.in_conjecture = f.in_conjecture || conjecture;
        for (std::uint32_t k = 0; k < t.arity; ++k) stack.push_back(problem.args[t.first_arg + k]);
      }
    }
  }
  choose_precedence();
  symbol_names.resize(bank.symbol_count());
  symbol_names[kTruthSymbol] = "$true";
  for (std::uint32_t s = 1; s < bank.symbol_count(); ++s)
    symbol_names[s] = tptp::tptp_text(problem.symbol(bank.symbol(s).source));

  std::vector<Literal> literals;
  std::vector<std::uint32_t> map;
  for (std::size_t i = 0; i < problem.clauses.size(); ++i) {
    const tptp::Clause& clause = problem.clauses[i];
    if (clause.always_true) continue;
    literals.clear();
    for (const tptp::Literal& l : clause.literals) {
      Literal lit{};
      lit.positive = l.positive;
      lit.equation = l.equality;
      lit.left = input_term(l.left, !l.equality);
      lit.right = l.equality ? input_term(l.right) : bank.truth();
      literals.push_back(lit);
    }
    Derivation* d = derivation(Rule::kInput);
    if (d != nullptr) d->input = i;
    // A clause written with a duplicate literal or a literal t != t is
    // kept without it; the proof shows that step.
    std::int64_t trivial = -1, first = -1, second = -1;
    for (std::size_t a = 0; a < literals.size(); ++a) {
      const Literal& x = literals[a];
      if (!x.positive && x.equation && x.left == x.right && trivial < 0)
        trivial = static_cast<std::int64_t>(a);
      for (std::size_t b = a + 1; b < literals.size() && first < 0; ++b)
        if (same_literal(x, literals[b])) first = static_cast<std::int64_t>(a), second = b;
    }
    Clause* c;
    if (d != nullptr && (trivial >= 0 || first >= 0)) {
      std::vector<Literal> as_written = literals;
      Clause* leaf = make_clause(as_written, d, &map, nullptr, true);
      leaf->state = ClauseState::kRetired;
      d->input_variables.assign(leaf->nr_variables, 0);
      for (std::uint32_t v = 0; v < map.size(); ++v)
        if (map[v] != kGone) d->input_variables[map[v]] = v;
      Derivation* step = derivation(trivial >= 0 ? Rule::kEqualityResolution : Rule::kFactoring);
      step->parents[0] = leaf;
      step->literal[0] = static_cast<std::uint32_t>(trivial >= 0 ? trivial : first);
      step->literal[1] = static_cast<std::uint32_t>(trivial >= 0 ? 0 : second);
      c = make_clause(literals, step);
      c->from_conjecture = leaf->from_conjecture = clause.role == tptp::Role::Conjecture;
    } else {
      c = make_clause(literals, d, &map);
      if (d != nullptr) {
        d->input_variables.assign(c->nr_variables, 0);
        for (std::uint32_t v = 0; v < map.size(); ++v)
          if (map[v] != kGone) d->input_variables[map[v]] = v;
      }
      c->from_conjecture = clause.role == tptp::Role::Conjecture;
    }
    keep(c);
    if (stop()) return;
  }
  add_distinct_object_axioms();
}

void Saturation::choose_precedence() {
  const std::uint32_t n = static_cast<std::uint32_t>(bank.symbol_count());
  std::vector<std::uint32_t> order(n - 1);
  std::iota(order.begin(), order.end(), 1);
  auto info = [&](std::uint32_t s) -> const SymbolInfo& { return bank.symbol(s); };
  if (strategy.precedence == Precedence::kArityOccurrence) {
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
      return order::compare_by_arity_and_occurrence(info(a).arity, a, info(b).arity, b) < 0;
    });
  } else {
    // Rare symbols greater: a term is then rewritten towards the symbols
    // the problem uses most.
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
      if (info(a).occurrences != info(b).occurrences)
        return info(a).occurrences > info(b).occurrences;
      return order::compare_by_arity_and_occurrence(info(a).arity, a, info(b).arity, b) < 0;
    });
  }
  for (std::uint32_t r = 0; r < order.size(); ++r) {
    SymbolInfo& s = bank.symbol(order[r]);
    s.rank = r;
    s.weight = strategy.weights_by_arity ? 1 + s.arity : 1;
  }
  // Feature buckets: the most frequent symbols each a bucket of their own
  // as far as they go, the rest spread over them.
  std::vector<std::uint32_t> by_frequency(order);
  std::sort(by_frequency.begin(), by_frequency.end(), [&](std::uint32_t a, std::uint32_t b) {
    return info(a).occurrences != info(b).occurrences ? info(a).occurrences > info(b).occurrences
                                                      : a < b;
  });
  feature_bucket.assign(n, 0);
  for (std::uint32_t r = 0; r < by_frequency.size(); ++r)
    feature_bucket[by_frequency[r]] = r % kBuckets;
}

Term* Saturation::input_term(std::uint32_t root, bool atom) {
  // Post-order without recursion: a term may be nested as deep as memory allows.
  struct Frame {
    std::uint32_t term;
    std::uint32_t next;
  };
  std::vector<Frame> stack{{root, 0}};
  std::vector<Term*> done;
  while (!stack.empty()) {
    Frame& f = stack.back();
    const tptp::Term& t = problem.terms[f.term];
    if (t.is_variable) {
      done.push_back(bank.variable(t.id));
      stack.pop_back();
      continue;
    }
    if (f.next < t.arity) {
      const std::uint32_t arg = problem.args[t.first_arg + f.next++];
      stack.push_back({arg, 0});
      continue;
    }
    const std::uint32_t symbol = symbol_for(t.id, t.arity, atom && stack.size() == 1);
    Term* made = bank.make(symbol, done.data() + (done.size() - t.arity));
    done.resize(done.size() - t.arity);
    done.push_back(made);
    stack.pop_back();
  }
  return done.back();
}

void Saturation::add_distinct_object_axioms() {
  std::vector<std::uint32_t> objects;
  for (std::uint32_t s = 1; s < bank.symbol_count(); ++s)
    if (bank.symbol(s).distinct_object && bank.symbol(s).occurrences > 0) objects.push_back(s);
  if (objects.size() < 2) return;
  if (objects.size() * (objects.size() - 1) / 2 > kMaxDistinctPairs) {
    complete = false;
    incomplete_reason = "too many distinct objects for their disequations";
    return;
  }
  std::vector<Literal> literals;
  for (std::size_t a = 0; a < objects.size() && !stop(); ++a)
    for (std::size_t b = a + 1; b < objects.size() && !stop(); ++b) {
      Literal l{};
      l.equation = true;
      l.left = bank.make(objects[a], nullptr);
      l.right = bank.make(objects[b], nullptr);
      literals.assign(1, l);
      Clause* c = make_clause(literals, derivation(Rule::kTheory));
      keep(c);
    }
}

}  // namespace velkor::saturation
