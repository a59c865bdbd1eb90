// The command line: options first, the problem file name last.
//
// Options are data: one table row per option word, naming whether it takes a
// numeric argument, what it sets, and whether a search under it stays
// complete (a failed search then shows the clause set satisfiable).  Words are compared in table
// order by exact string equality; the last word is never taken as an option.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/decimal.hpp"
#include "prover/prover.hpp"
#include "prover/select/select.hpp"

namespace velkor {
namespace {

struct Option {
  std::string_view word;
  bool takes_number;
  void (*apply)(Prover& p, std::int64_t n);
  std::string_view help;  // for --help
  // False for the options after which a failed search proves nothing:
  // restricted backtracking and the conjecture start clauses give up
  // completeness; pruning by matings, the equality differences and the
  // ordering constraints of the equality modification are not known to
  // keep it.  --help marks them "(incomplete)".
  bool complete = true;
};

const Option kOptions[] = {
    {"-d", true, [](Prover& p, std::int64_t n) { p.final_depth = n; },
     "stop with BOUND REACHED after the level with bound N"},
    {"-id", true, [](Prover& p, std::int64_t n) { p.depth = n; }, "first depth bound (default 1)"},
    {"-noclreord", false, [](Prover& p, std::int64_t) { p.clause_reordering = false; },
     "no clause reordering (the default)"},
    {"-wdr", false, [](Prover& p, std::int64_t) { p.weighted_depth = true; },
     "weighted depth bound"},
    {"-wd1", true, [](Prover& p, std::int64_t n) { p.weighted_depth = true, p.wd1 = n; },
     "weighted depth bound, first weight (default 120)"},
    {"-wd2", true, [](Prover& p, std::int64_t n) { p.weighted_depth = true, p.wd2 = n; },
     "weighted depth bound, second weight (default 120)"},
    {"-wd3", true, [](Prover& p, std::int64_t n) { p.weighted_depth = true, p.wd3 = n; },
     "weighted depth bound, third weight (default 120)"},
    {"-sig", true, [](Prover& p, std::int64_t n) { p.signature_bound = true, p.free_sig = n; },
     "signature bound with budget N"},
    {"-dynsgreord", true,
     [](Prover& p, std::int64_t n) { p.subgoal_reordering_on = true, p.subgoal_reordering = n; },
     "subgoal reordering rule N (0 to 5)"},
    {"-complexity", true, [](Prover& p, std::int64_t n) { p.subgoal_complexity_measure = n; },
     "subgoal complexity measure (0: variables count 0)"},
    {"-singledelay", false, [](Prover& p, std::int64_t) { p.subgoal_alternation = 1; },
     "subgoal alternation, single (not implemented)"},
    {"-reg", false, [](Prover& p, std::int64_t) { p.regularity = true, p.constraints = true; },
     "regularity with disequation constraints"},
    {"-multidelay", false, [](Prover& p, std::int64_t) { p.subgoal_alternation = 2; },
     "subgoal alternation, multiple (not implemented)"},
    {"-globreord", false, [](Prover& p, std::int64_t) { p.global_reordering = true; },
     "reordering looks into older subgoal groups too"},
    {"-mate", false, [](Prover& p, std::int64_t) { p.matings_pruning = true; },
     "reductions in one orientation of a connection only", false},
    {"-proof", false, [](Prover& p, std::int64_t) { p.proof_output = true; },
     "print the proof (TSTP for TPTP problems, else the used clauses)"},
    {"-sgindex", false, [](Prover& p, std::int64_t) { p.sgindex = true; },
     "lemma index for subgoals"},
    {"-equality", false, [](Prover& p, std::int64_t) { p.equality = true; },
     "equality differences in unification", false},
    {"-norel", false, [](Prover& p, std::int64_t) { p.norel = true; },
     "start from all negative clauses whatever their types"},
    {"-foldup", false, [](Prover& p, std::int64_t) { p.foldup = true; },
     "solved subgoals become lemmas"},
    {"-indexfoldup", false, [](Prover& p, std::int64_t) { p.index_foldup = true; },
     "solved subgoals become lemmas of the index"},
    {"-printindex", false, [](Prover& p, std::int64_t) { p.printindex = true; },
     "print new lemmas of the index"},
    {"-sreg", false,
     [](Prover& p, std::int64_t) { p.regularity = true, p.strong_regularity = true; },
     "strong regularity"},
    {"-fvector", true, [](Prover&, std::int64_t) {}, "accepted and ignored"},
    {"-grounding", false, [](Prover& p, std::int64_t) { p.test_grounding = true; },
     "prints grounding entered"},
    // Long options: settings of the drivers around the search.
    {"--szs", false, [](Prover& p, std::int64_t) { p.szs_output = true; },
     "SZS status line and TSTP proofs for an input_clause problem too"},
    {"--auto", false, [](Prover& p, std::int64_t) { p.auto_mode = true; },
     "run the schedule of option sets in time slices"},
    {"--ground", false, [](Prover& p, std::int64_t) { p.ground_only = true; },
     "decide a problem without function symbols by its ground instances alone"},
    {"--models", false, [](Prover& p, std::int64_t) { p.model_search = true; },
     "finite model search alone; problems without function symbols by grounding"},
    {"--restricted-backtracking", false,
     [](Prover& p, std::int64_t) { p.restricted_backtracking = true; },
     "once a subgoal is solved, no other alternatives", false},
    {"--conjecture-start", false, [](Prover& p, std::int64_t) { p.conjecture_start = true; },
     "start from every clause of type conjecture", false},
    {"--statistics", false, [](Prover& p, std::int64_t) { p.statistics = true; },
     "inference counts and search CPU time at the end"},
    {"--memory-limit", true, [](Prover& p, std::int64_t n) { p.memory_limit_mb = n; },
     "end with MemoryOut when the heap would pass N megabytes"},
    {"--index-limit", true, [](Prover& p, std::int64_t n) { p.index_limit_mb = n; },
     "the lemma index takes no new lemma once it holds N megabytes"},
    {"--saturation", false, [](Prover& p, std::int64_t) { p.saturation.on = true; },
     "saturation by superposition alone (TPTP problems)"},
    {"--sat-selection", true, [](Prover& p, std::int64_t n) { p.saturation.selection = n; },
     "--saturation: literal selection 0 none, 1 largest negative, 2 smallest, 3 complex"},
    {"--sat-precedence", true, [](Prover& p, std::int64_t n) { p.saturation.precedence = n; },
     "--saturation: precedence 0 by arity and occurrence, 1 rare symbols greater"},
    {"--sat-weight-limit", true, [](Prover& p, std::int64_t n) { p.saturation.weight_limit = n; },
     "--saturation: discard clauses heavier than N symbols (0: none)"},
    {"--equality-modification", false,
     [](Prover& p, std::int64_t) { p.equality_modification = true; },
     "search the equality modification instead of the equality axioms", false},
    {"--free-numbers", false, [](Prover& p, std::int64_t) { p.free_numbers = true; },
     "numbers are ordinary constants (by default two different numbers are unequal)"},
};

// A time limit in seconds: digits, optionally a fraction; anything else is
// not a limit.
bool read_seconds(const std::string& word, double& seconds) {
  if (word.empty() || word.size() > 12) return false;
  std::size_t digits = 0, dots = 0;
  for (char c : word) {
    if (c >= '0' && c <= '9')
      ++digits;
    else if (c == '.')
      ++dots;
    else
      return false;
  }
  if (digits == 0 || dots > 1) return false;
  seconds = std::strtod(word.c_str(), nullptr);
  return true;
}

// The options read before the table, in its form.
const Option kSpecialOptions[] = {
    {"-eqpred", false, nullptr,
     "equal-predecessor test on every selected subgoal (-eqpred 1: fail)"},
    {"--time-limit", true, nullptr, "stop after N seconds of CPU time (a decimal number; 0: none)"},
    {"--cores", true, nullptr, "with --auto, up to N option sets at once in child processes"},
    {"--schedule FILE", false, nullptr, "with --auto, run the schedule table in FILE"},
    // Its argument is a word, not a number: named in the usage row.
    {"--select SELECTION", false, nullptr,
     "search only the premises a selection keeps (large theories); SELECTION is\n"
     "                              sine:TOLERANCE[:DEPTH[:THRESHOLD[:LIMIT]]], e.g. sine:1.2:2",
     // Marked incomplete, though the search itself is not: a selection that
     // leaves premises out proves nothing by failing (the driver knows
     // whether it left any out).
     false},
    {"--sat-strategy NAME", false, nullptr,
     "--saturation: a named strategy (default, plain, goal, complex)"},
    {"--sat-ratio W:A", false, nullptr,
     "--saturation: W clauses picked by weight for every A by age (default 5:1)"},
};

// "W:A", two whole numbers of at most six digits.
bool read_ratio(const std::string& word, std::int64_t& w, std::int64_t& a) {
  const std::size_t colon = word.find(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == word.size() || colon > 6 ||
      word.size() - colon - 1 > 6 || word.find_first_not_of("0123456789:") != std::string::npos ||
      word.find(':', colon + 1) != std::string::npos)
    return false;
  w = std::strtol(word.substr(0, colon).c_str(), nullptr, 10);
  a = std::strtol(word.substr(colon + 1).c_str(), nullptr, 10);
  return w + a > 0;
}

}  // namespace

std::string Prover::usage_text() {
  std::string text =
      "usage: velkor [options] PROBLEM\n"
      "Searches for a closed connection tableau of the clauses of PROBLEM (a TPTP\n"
      "problem, cnf and fof, or input_clause entries). Options:\n";
  auto row = [&](const Option& o) {
    std::string words = "  " + std::string(o.word) + (o.takes_number ? " N" : "");
    words.resize(std::max<std::size_t>(words.size() + 1, 30), ' ');
    text += words + std::string(o.help) + (o.complete ? "\n" : " (incomplete)\n");
  };
  for (const Option& o : kOptions) row(o);
  for (const Option& o : kSpecialOptions) row(o);
  text += "  --help                      this text\n";
  text += "  --version                   the release and the commit of this build\n";
  return text;
}

std::size_t Prover::update_defaults(const std::vector<std::string>& words) {
  std::size_t i = 0;
  while (words.size() - i >= 2) {
    const std::string& word = words[i];
    if (word == "-eqpred") {
      // A non-zero number is the option's argument; anything else is left to
      // be read as the next option.  Both forms switch the check on.
      equal_predecessor_fail_on = true;
      if (common::read_decimal(words[i + 1].c_str()) != 0) {
        equal_predecessor_fail = 1;
        i += 2;
      } else {
        equal_predecessor_fail = 0;
        i += 1;
      }
      continue;
    }
    if (word == "--time-limit") {
      if (!read_seconds(words[i + 1], time_limit)) {
        print("Abort: error in parameter list\n");
        end_run(Outcome::kOptionError, 1);
      }
      i += 2;
      continue;
    }
    if (word == "--select") {
      // Checked here, used by the driver when it makes the selection.
      select::Params params;
      if (!select::parse_params(words[i + 1], params)) {
        print("Abort: error in parameter list\n");
        end_run(Outcome::kOptionError, 1);
      }
      premise_selection = words[i + 1];
      i += 2;
      continue;
    }
    if (word == "--schedule") {
      schedule_file = words[i + 1];
      i += 2;
      continue;
    }
    if (word == "--sat-strategy") {
      saturation.strategy = words[i + 1];
      i += 2;
      continue;
    }
    if (word == "--sat-ratio") {
      if (!read_ratio(words[i + 1], saturation.weight_picks, saturation.age_picks)) {
        print("Abort: error in parameter list\n");
        end_run(Outcome::kOptionError, 1);
      }
      i += 2;
      continue;
    }
    if (word == "--cores") {
      // A whole number of processes, 1 to 64; anything else is an error
      // rather than a silent one-core run.
      const std::int64_t n = common::read_decimal(words[i + 1].c_str());
      if (n < 1 || n > 64 || words[i + 1].find_first_not_of("0123456789") != std::string::npos) {
        print("Abort: error in parameter list\n");
        end_run(Outcome::kOptionError, 1);
      }
      cores = static_cast<int>(n);
      i += 2;
      continue;
    }
    const Option* option = nullptr;
    for (const Option& o : kOptions)
      if (o.word == word) {
        option = &o;
        break;
      }
    if (option == nullptr) {
      print("Abort: error in parameter list\n");
      end_run(Outcome::kOptionError, 1);
    }
    std::int64_t n = 0;
    if (option->takes_number) n = common::read_decimal(words[i + 1].c_str());
    option->apply(*this, n);
    complete_search = complete_search && option->complete;
    i += option->takes_number ? 2 : 1;
  }
  return i;
}

}  // namespace velkor
