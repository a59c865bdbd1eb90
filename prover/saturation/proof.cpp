// The derivation of the empty clause, as the driver prints it: every
// clause it rests on, parents first, with the rule, the literals, sides and
// positions the rule was applied at, and each parent's variables bound to
// the terms of the inference's unifier or matcher.  A checker instantiates
// the parents by the bindings, applies the rule there, and compares the
// result with the printed clause up to renaming.
//
// The bindings of a generating inference (both parents instantiated) are
// written in the conclusion's variables; those of a simplification
// (rewriting, subsumption resolution) in the variables of the clause
// simplified, which is not instantiated.
#include <unordered_map>

#include "prover/saturation/state.hpp"
#include "tptp/writer.hpp"

namespace velkor::saturation {
namespace {

const char* rule_name(Rule rule) {
  switch (rule) {
    case Rule::kInput:
      return "input";
    case Rule::kTheory:
      return "theory";
    case Rule::kSuperposition:
      return "superposition";
    case Rule::kResolution:
      return "resolution";
    case Rule::kFactoring:
      return "factoring";
    case Rule::kEqualityResolution:
      return "equality_resolution";
    case Rule::kEqualityFactoring:
      return "equality_factoring";
    case Rule::kDemodulation:
      return "demodulation";
    case Rule::kSubsumptionResolution:
      return "subsumption_resolution";
  }
  return "unknown";
}

bool generating(Rule rule) {
  return rule != Rule::kDemodulation && rule != Rule::kSubsumptionResolution;
}

std::string side_name(std::uint8_t side) {
  return side == 0 ? "left" : "right";
}

std::string number(std::uint32_t literal) {
  return std::to_string(literal + 1);
}

}  // namespace

const std::vector<std::string>& Saturation::variable_names(const Clause* c) const {
  auto [it, inserted] = printed_names.try_emplace(c);
  if (inserted) {
    std::vector<std::string>& names = it->second;
    const Derivation* d = c->derivation;
    if (d != nullptr && d->rule == Rule::kInput) {
      const std::vector<std::string> written =
          tptp::clause_variable_names(problem.clauses[d->input]);
      for (std::uint32_t v : d->input_variables) names.push_back(written[v]);
    } else {
      for (std::uint32_t v = 0; v < c->nr_variables; ++v)
        names.push_back("X" + std::to_string(v + 1));
    }
  }
  return it->second;
}

std::string Saturation::step_info(const Clause* c, std::vector<std::string>& bindings) const {
  const Derivation& d = *c->derivation;
  std::string info;
  auto path_text = [&] {
    std::string text = "[";
    for (std::size_t i = 0; i < d.path.size(); ++i)
      text += (i > 0 ? "," : "") + std::to_string(d.path[i] + 1);
    return text + "]";
  };
  switch (d.rule) {
    case Rule::kSuperposition:
    case Rule::kDemodulation:
      info = "from(" + number(d.literal[0]) + "," + side_name(d.side[0]) + "), into(" +
             number(d.literal[1]) + "," + side_name(d.side[1]) + "," + path_text() + ")";
      break;
    case Rule::kResolution:
    case Rule::kFactoring:
    case Rule::kSubsumptionResolution:
      info = "on(" + number(d.literal[0]) + "," + number(d.literal[1]) + ")";
      break;
    case Rule::kEqualityResolution:
      info = "on(" + number(d.literal[0]) + ")";
      break;
    case Rule::kEqualityFactoring:
      info = "on(" + number(d.literal[0]) + "," + side_name(d.side[0]) + "," +
             number(d.literal[1]) + "," + side_name(d.side[1]) + ")";
      break;
    case Rule::kInput:
    case Rule::kTheory:
      break;
  }
  // The terms of the bindings: the conclusion's variables, or the
  // simplified clause's.
  const std::vector<std::string>* space =
      generating(d.rule) ? nullptr : &variable_names(d.parents[1]);
  for (int k = 0; k < 2; ++k) {
    if (d.parents[k] == nullptr) continue;
    const std::vector<std::string>& names = variable_names(d.parents[k]);
    std::string text;
    for (std::size_t v = 0; v < d.bindings[k].size() && v < names.size(); ++v) {
      Term* t = d.bindings[k][v];
      if (t == nullptr) continue;
      std::string term = term_text(symbol_names, t, space);
      if (term == names[v]) continue;
      text += (text.empty() ? "" : ",") + ("bind(" + names[v] + ",$fot(" + term + "))");
    }
    bindings.push_back(std::move(text));
  }
  return info;
}

void Saturation::record_proof(Clause* empty, Result& result) {
  std::unordered_map<const Clause*, ProofParent> done;
  std::vector<std::pair<Clause*, bool>> stack{{empty, false}};
  while (!stack.empty()) {
    Clause* c = stack.back().first;
    const bool expanded = stack.back().second;
    if (done.contains(c)) {
      stack.pop_back();
      continue;
    }
    const Derivation& d = *c->derivation;
    if (d.rule == Rule::kInput) {
      done.emplace(c, ProofParent{true, d.input});
      stack.pop_back();
      continue;
    }
    if (!expanded) {
      stack.back().second = true;
      for (Clause* p : d.parents)
        if (p != nullptr && !done.contains(p)) stack.emplace_back(p, false);
      continue;
    }
    stack.pop_back();
    ProofStep step;
    step.clause = clause_text(c);
    step.rule = rule_name(d.rule);
    if (d.rule == Rule::kTheory) {
      step.theory = "distinct_objects";
    } else {
      step.info = step_info(c, step.bindings);
      for (Clause* p : d.parents)
        if (p != nullptr) step.parents.push_back(done.at(p));
    }
    done.emplace(c, ProofParent{false, result.proof.size()});
    result.proof.push_back(std::move(step));
  }
}

}  // namespace velkor::saturation
