#include "tptp/convert.hpp"

#include <exception>
#include <new>
#include <optional>
#include <string>
#include <unordered_set>

#include "common/large_stack.hpp"
#include "tptp/clausify.hpp"
#include "tptp/error.hpp"
#include "tptp/reader.hpp"
#include "tptp/writer.hpp"

namespace tptp {
namespace {

// velkor has no way to write the empty clause.  One made from formulas (a
// premise or negated conjecture that is plainly false) is written as the
// unit clauses ~s and s over a fresh atom s instead, which are refuted at
// once, so that such a problem still converts; an empty clause written in
// the problem itself is refused as before.
void replace_empty_formula_clauses(Problem& problem) {
  std::optional<std::uint32_t> atom;
  std::size_t count = problem.clauses.size();
  for (std::size_t i = 0; i < count; ++i) {
    if (problem.clauses[i].formulas.empty() || !problem.clauses[i].literals.empty() ||
        problem.clauses[i].always_true)
      continue;
    if (!atom) {
      std::unordered_set<std::string> taken;
      for (std::uint32_t id = 0; id < problem.symbol_count(); ++id)
        taken.insert(problem.symbol(id).spelling);
      std::string name = "empty_clause";
      for (int k = 2; taken.contains(name); ++k) name = "empty_clause_" + std::to_string(k);
      problem.terms.push_back(Term{false, problem.intern(SymbolKind::Plain, name), 0, 0});
      atom = static_cast<std::uint32_t>(problem.terms.size() - 1);
    }
    Clause& empty = problem.clauses[i];
    empty.literals.push_back(Literal{false, false, *atom, 0});
    empty.esa = true;
    Clause unit = empty;
    unit.name.spelling += "_complement";
    unit.name_key += "_complement";
    unit.role = Role::Axiom;
    unit.literals[0].positive = true;
    problem.clauses.push_back(std::move(unit));
  }
}

}  // namespace

ConvertResult convert(const ConvertOptions& options, const ClausifyOptions& clausify_options) {
  ConvertResult result;
  common::run_with_large_stack([&] {
    try {
      Problem problem;
      read_problem(problem, options.problem_path, ReadOptions{options.root}, options.text);
      clausify(problem, clausify_options);
      replace_empty_formula_clauses(problem);
      WriteOptions write;
      write.equality_axioms =
          options.equality_axioms ? EqualityAxioms::kAll : EqualityAxioms::kNone;
      write.keep_tautologies = options.keep_tautologies;
      write.free_numbers = options.free_numbers;
      Written written = write_problem(problem, write);
      result.output = std::move(written.text);
      result.clauses = written.clauses;
      result.dropped = written.dropped;
      result.equality_axioms = written.equality_axioms;
      result.ok = true;
    } catch (const ConvertError& error) {
      result.error = error.where_and_what();
    } catch (const std::bad_alloc&) {
      result.error = options.problem_path + ": not enough memory to convert the problem";
    } catch (const std::exception& error) {
      result.error = options.problem_path + ": " + error.what();
    }
    return 0;
  });
  if (!result.ok) result.output.clear();
  return result;
}

}  // namespace tptp
