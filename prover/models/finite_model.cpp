// The search for a finite model, one domain size after another, on one
// engine that keeps what it learnt.
//
// The engine's variables say "f(d..) = e" and "p(d..)" for elements d, e.
// Going from size n-1 to n adds element n-1: the instances of the flat
// clauses that mention it, the "at most one value" clauses that mention it,
// and the constant clauses below.  Everything added before stays true at
// every larger size, except "f(d..) has a value among 0..n-1", which holds
// for size n only: those clauses carry a literal "not size n" and the search
// assumes "size n".
//
// Symmetry: renaming elements turns a model into another, so the constants
// may be taken to name elements in order of first appearance: constant i is
// at most element i, and it is element d > 0 only if an earlier constant is
// element d-1.  This leaves one of the many equivalent assignments of the
// constants and cuts the search accordingly.
#include <algorithm>
#include <cmath>

#include "prover/models/search.hpp"

namespace velkor::models {
namespace {

// Domains beyond this size are not tried (elements are kept in 16 bits, and
// far smaller sizes exhaust any budget).
constexpr int kLargestSize = 4096;

// The next argument tuple of a function's table row, the value place left at 0.
bool next_row(std::vector<std::uint32_t>& t, int size) {
  std::vector<std::uint32_t> row(t.begin(), t.end() - 1);
  if (!next_tuple(row, static_cast<std::uint32_t>(size))) return false;
  std::copy(row.begin(), row.end(), t.begin());
  return true;
}

bool mentions(const std::vector<std::uint32_t>& t, std::uint32_t element) {
  for (std::uint32_t x : t)
    if (x == element) return true;
  return false;
}

}  // namespace

Result ModelSearch::find_model() {
  Result result;
  std::vector<std::uint32_t> tuple, assignment, elements;
  std::vector<int> assumption(1);
  for (int size = 1; size <= kLargestSize; ++size) {
    result.domain_size = size;
    const auto newest = static_cast<std::uint32_t>(size - 1);
    // What this size adds, before any of it is made.
    double cost = 0;
    for (const FlatClause& c : flat_clauses)
      cost += (std::pow(size, c.nr_variables) - std::pow(size - 1, c.nr_variables)) * c.nr_literals;
    for (const SymbolEntry& e : entries)
      if (e.in_clauses && !e.predicate) cost += std::pow(size, e.arity) * size * 2.0;
    if (literals_given + cost > static_cast<double>(settings.literal_budget)) {
      result.verdict = Verdict::kTooLarge;
      return result;
    }

    const int active = solver.new_variable();
    // Function tables: a value at size n, at most one value at every size.
    for (std::uint32_t f = 0; f < entries.size(); ++f) {
      const SymbolEntry& e = entries[f];
      if (!e.in_clauses || e.predicate) continue;
      auto value = [&](std::uint32_t v) {
        tuple.back() = v;
        return atom(f, tuple.data(), e.arity + 1);
      };
      tuple.assign(e.arity + 1, 0);
      do {
        clause.assign(1, -active);
        for (std::uint32_t v = 0; v <= newest; ++v) clause.push_back(value(v));
        give_clause();
        // A row of the new element's gets all its pairs, an older row the
        // pairs with the new value.
        const bool new_row =
            mentions(std::vector<std::uint32_t>(tuple.begin(), tuple.end() - 1), newest);
        for (std::uint32_t w = 1; w <= newest; ++w)
          for (std::uint32_t v = new_row || w == newest ? 0 : w; v < w; ++v) {
            clause.assign({-value(v), -value(w)});
            give_clause();
          }
        tuple.back() = 0;
      } while (next_row(tuple, size));
    }
    // Constants in order of first appearance.
    for (std::size_t i = 0; i < constants.size(); ++i) {
      if (i < newest) {
        clause.assign(1, -atom(constants[i], &newest, 1));
        give_clause();
      } else if (newest > 0) {
        clause.assign(1, -atom(constants[i], &newest, 1));
        const std::uint32_t below = newest - 1;
        for (std::size_t j = 0; j < i; ++j) clause.push_back(atom(constants[j], &below, 1));
        give_clause();
      }
    }
    // Two distinct objects are never the new element both.
    for (std::size_t i = 0; i < distinct.size(); ++i)
      for (std::size_t j = i + 1; j < distinct.size(); ++j) {
        clause.assign({-atom(distinct[i], &newest, 1), -atom(distinct[j], &newest, 1)});
        give_clause();
      }
    // The instances of the flat clauses that mention the new element.
    for (const FlatClause& c : flat_clauses) {
      assignment.assign(c.nr_variables, 0);
      do {
        if (size > 1 && !mentions(assignment, newest)) continue;
        if ((++ticks & 1023) == 0 && out_of_time()) {
          result.verdict = Verdict::kTimeout;
          return result;
        }
        clause.clear();
        bool true_instance = false;
        for (std::uint32_t k = 0; k < c.nr_literals && !true_instance; ++k) {
          const FlatLiteral& l = flat_literals[c.first_literal + k];
          elements.clear();
          for (std::uint32_t a = 0; a < l.nr; ++a)
            elements.push_back(assignment[flat_args[l.first + a]]);
          if (l.kind == FlatLiteral::Kind::kEquality) {
            true_instance = (elements[0] == elements[1]) == l.positive;
            continue;
          }
          const int v = atom(l.entry, elements.data(), l.nr);
          clause.push_back(l.positive ? v : -v);
        }
        if (!true_instance) give_clause();
      } while (next_tuple(assignment, static_cast<std::uint32_t>(size)));
    }
    result.instances = instances;

    assumption[0] = active;
    const modelgen::cdcl::Answer answer = solver.solve(assumption);
    if (answer == modelgen::cdcl::Answer::kUnknown) {
      result.verdict = Verdict::kTimeout;
      return result;
    }
    if (answer == modelgen::cdcl::Answer::kUnsatisfiable) {
      // Unsatisfiable without the size assumption: no model of any size.
      if (solver.failed_assumptions().empty()) break;
      clause.assign(1, -active);
      give_clause();
      continue;
    }

    Model model;
    model.size = size;
    model.tables.resize(entries.size());
    for (std::uint32_t f = 0; f < entries.size(); ++f) {
      const SymbolEntry& e = entries[f];
      std::vector<std::uint32_t>& table = model.tables[f];
      table.assign(static_cast<std::size_t>(std::pow(size, e.arity)), 0);
      if (!e.in_clauses) continue;
      tuple.assign(e.arity + (e.predicate ? 0 : 1), 0);
      do {
        if (e.predicate) {
          const int v = atom(f, tuple.data(), e.arity, false);
          table[tuple_index(tuple.data(), e.arity, size)] = v != 0 && solver.value(v) ? 1 : 0;
        } else {
          const int v = atom(f, tuple.data(), e.arity + 1, false);
          if (v != 0 && solver.value(v))
            table[tuple_index(tuple.data(), e.arity, size)] = tuple.back();
        }
      } while (next_tuple(tuple, static_cast<std::uint32_t>(size)));
    }
    switch (check(model)) {
      case Check::kTrue:
        result.verdict = Verdict::kSatisfiable;
        result.model_block = model_block(model);
        return result;
      case Check::kTooCostly:
        result.verdict = Verdict::kTooLarge;
        return result;
      case Check::kFalse:
        result.verdict = Verdict::kFault;
        return result;
    }
  }
  // No model of any size: that is a refutation, but not one with a
  // certificate to show, so it is left to the other searches.
  result.verdict = Verdict::kTooLarge;
  return result;
}

}  // namespace velkor::models
