#include "prover/driver/features.hpp"

#include <algorithm>

#include "prover/prover.hpp"

namespace velkor {

ProblemFeatures problem_features(const Prover& p, const InputCounts& input) {
  ProblemFeatures f;
  const auto& clauses = p.formula_clauses;
  const std::size_t own =
      clauses.size() - std::min<std::size_t>(clauses.size(), input.equality_axioms);
  bool horn = true, unit_equality = own > 0, equality = false;
  std::int64_t conjecture_clauses = 0;
  for (std::size_t i = 0; i < own; ++i) {
    const Clause& c = *clauses[i];
    int positive = 0;
    for (std::int64_t k = 0; k < c.length; ++k) {
      const Literal& l = c.literals[k];
      positive += l.sign == '+';
      const bool is_equation = p.equal_predicate != nullptr && l.predicate == p.equal_predicate;
      equality |= is_equation;
      unit_equality &= is_equation && c.length == 1;
    }
    horn &= positive <= 1;
    conjecture_clauses += c.type == ClauseType::kConjecture;
    f.size += c.term_size;
  }
  f.clauses = static_cast<std::int64_t>(own);
  f.formulas = input.formulas;
  // An input_clause file has no statements apart from its clauses.
  f.axioms =
      input.statements > 0 ? input.statements - input.conjectures : f.clauses - conjecture_clauses;
  if (input.formulas > 0) f.traits |= kFirstOrder;
  if (equality) f.traits |= kEquality;
  if (unit_equality) f.traits |= kUnitEquality;
  if (horn) f.traits |= kHorn;
  if (p.max_functor_arity <= 0) f.traits |= kEpr;
  if (input.conjectures + conjecture_clauses > 0) f.traits |= kConjecture;
  if (f.clauses > kLargeClauses) f.traits |= kLarge;
  if (input.statements > kLargeTheoryStatements) f.traits |= kLargeTheory;
  return f;
}

unsigned trait_of(std::string_view name) {
  static constexpr std::pair<std::string_view, unsigned> kNames[] = {
      {"first-order", kFirstOrder},
      {"equality", kEquality},
      {"unit-equality", kUnitEquality},
      {"horn", kHorn},
      {"epr", kEpr},
      {"conjecture", kConjecture},
      {"large", kLarge},            {"large-theory", kLargeTheory},
  };
  for (const auto& [word, trait] : kNames)
    if (word == name) return trait;
  return 0;
}

std::string class_name(const ProblemFeatures& f) {
  std::string name = f.has(kFirstOrder) ? "FOF" : "CNF";
  name += f.has(kUnitEquality) ? "-UEQ" : f.has(kEquality) ? "-EQ" : "-NEQ";
  name += f.has(kHorn) ? "-HO" : "-NH";
  if (f.has(kEpr)) name += "-EPR";
  name += f.has(kLarge) ? "-L" : "-S";
  return name;
}

std::string class_line(const ProblemFeatures& f, const char* schedule) {
  std::string line = "% problem class " + class_name(f) + ": ";
  line += f.has(kFirstOrder) ? "first-order formulas" : "clauses";
  line += f.has(kUnitEquality) ? ", unit equality"
          : f.has(kEquality)   ? ", equality"
                               : ", no equality";
  line += f.has(kHorn) ? ", Horn" : ", not Horn";
  if (f.has(kEpr)) line += ", no functions (EPR)";
  line += f.has(kConjecture) ? ", conjecture" : ", no conjecture";
  if (f.has(kLargeTheory)) line += ", large theory";
  line += "; " + std::to_string(f.clauses) + " clauses";
  if (f.formulas > 0) line += " from " + std::to_string(f.formulas) + " formulas";
  line += ", " + std::to_string(f.axioms) + " axioms, size " + std::to_string(f.size);
  line += "; schedule " + std::string(schedule) + "\n";
  return line;
}

}  // namespace velkor
