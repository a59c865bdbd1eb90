// The statistics table, and the named strategies.
#include <cstdio>

#include "prover/saturation/saturation.hpp"

namespace velkor::saturation {

std::string statistics_table(const Statistics& s) {
  std::string out;
  auto line = [&](const char* what, std::int64_t n) {
    out += "% statistics: ";
    out += what;
    out += ' ';
    out += std::to_string(n);
    out += '\n';
  };
  line("generated clauses", s.generated);
  const char* rules[] = {"superposition", "resolution", "factoring", "equality resolution",
                         "equality factoring"};
  for (int r = 0; r < 5; ++r)
    line((std::string("  by ") + rules[r]).c_str(), s.by_rule[r]);
  line("processed clauses", s.processed);
  line("kept clauses", s.kept);
  line("active clauses", s.active);
  line("passive clauses", s.passive);
  line("forward rewritten", s.forward_rewrites);
  line("backward rewritten", s.backward_rewrites);
  line("forward subsumed", s.forward_subsumed);
  line("backward subsumed", s.backward_subsumed);
  line("subsumption resolutions", s.subsumption_resolutions);
  line("tautologies", s.tautologies);
  line("discarded clauses", s.discarded);
  auto candidates = [&](const char* index, const Statistics::Candidates& c) {
    out += "% statistics: ";
    out += index;
    out += " candidates " + std::to_string(c.tried) + " of " + std::to_string(c.without_index) +
           " without index\n";
  };
  candidates("superposition", s.superposition);
  candidates("resolution", s.resolution);
  candidates("rewriting", s.rewriting);
  candidates("backward rewriting", s.backward_rewriting);
  candidates("subsumption", s.subsumption);
  char cpu[64];
  std::snprintf(cpu, sizeof cpu, "%% statistics: saturation CPU seconds %.3f\n", s.cpu_seconds);
  out += cpu;
  return out;
}

namespace {

struct Named {
  const char* name;
  const char* description;
  void (*set)(Strategy&);
};

const Named kStrategies[] = {
    {"default", "largest negative literal selected, weight:age 5:1, rare symbols greater",
     [](Strategy&) {}},
    {"plain", "nothing selected, weight:age 1:1, precedence by arity and occurrence",
     [](Strategy& s) {
       s.selection = Selection::kNone;
       s.weight_picks = 1;
       s.age_picks = 1;
       s.precedence = Precedence::kArityOccurrence;
     }},
    {"goal", "clauses of the conjecture strongly preferred, weight:age 10:1",
     [](Strategy& s) {
       s.goal_factor = 0.2;
       s.weight_picks = 10;
     }},
    {"complex", "ground or most unbalanced negative literal selected",
     [](Strategy& s) { s.selection = Selection::kComplexNegative; }},
};

}  // namespace

bool strategy_by_name(const std::string& name, Strategy& strategy) {
  for (const Named& n : kStrategies)
    if (name == n.name) {
      strategy = Strategy{};
      n.set(strategy);
      return true;
    }
  return false;
}

std::string strategy_names() {
  std::string out;
  for (const Named& n : kStrategies) out += std::string(out.empty() ? "" : ", ") + n.name;
  return out;
}

}  // namespace velkor::saturation
