// The command line: options first, the problem file name last.
//
// Options are data: one table row per option word, naming whether it takes a
// numeric argument and what it sets.  Words are compared in table order by
// exact string equality; the last word is never taken as an option.
#include <cstdlib>
#include <string_view>

#include "common/decimal.hpp"
#include "prover/prover.hpp"

namespace velkor {
namespace {

struct Option {
  std::string_view word;
  bool takes_number;
  void (*apply)(Prover& p, std::int64_t n);
};

const Option kOptions[] = {
    {"-d", true, [](Prover& p, std::int64_t n) { p.final_depth = n; }},
    {"-id", true, [](Prover& p, std::int64_t n) { p.depth = n; }},
    {"-noclreord", false, [](Prover& p, std::int64_t) { p.clause_reordering = false; }},
    {"-wdr", false, [](Prover& p, std::int64_t) { p.weighted_depth = true; }},
    {"-wd1", true, [](Prover& p, std::int64_t n) { p.weighted_depth = true, p.wd1 = n; }},
    {"-wd2", true, [](Prover& p, std::int64_t n) { p.weighted_depth = true, p.wd2 = n; }},
    {"-wd3", true, [](Prover& p, std::int64_t n) { p.weighted_depth = true, p.wd3 = n; }},
    {"-sig", true, [](Prover& p, std::int64_t n) { p.signature_bound = true, p.free_sig = n; }},
    {"-dynsgreord", true,
     [](Prover& p, std::int64_t n) { p.subgoal_reordering_on = true, p.subgoal_reordering = n; }},
    {"-complexity", true, [](Prover& p, std::int64_t n) { p.subgoal_complexity_measure = n; }},
    {"-singledelay", false, [](Prover& p, std::int64_t) { p.subgoal_alternation = 1; }},
    {"-reg", false, [](Prover& p, std::int64_t) { p.regularity = true, p.constraints = true; }},
    {"-multidelay", false, [](Prover& p, std::int64_t) { p.subgoal_alternation = 2; }},
    {"-globreord", false, [](Prover& p, std::int64_t) { p.global_reordering = true; }},
    {"-mate", false, [](Prover& p, std::int64_t) { p.matings_pruning = true; }},
    {"-proof", false, [](Prover& p, std::int64_t) { p.proof_output = true; }},
    {"-sgindex", false, [](Prover& p, std::int64_t) { p.sgindex = true; }},
    {"-equality", false, [](Prover& p, std::int64_t) { p.equality = true; }},
    {"-norel", false, [](Prover& p, std::int64_t) { p.norel = true; }},
    {"-foldup", false, [](Prover& p, std::int64_t) { p.foldup = true; }},
    {"-indexfoldup", false, [](Prover& p, std::int64_t) { p.index_foldup = true; }},
    {"-printindex", false, [](Prover& p, std::int64_t) { p.printindex = true; }},
    {"-sreg", false,
     [](Prover& p, std::int64_t) { p.regularity = true, p.strong_regularity = true; }},
    {"-fvector", true, [](Prover&, std::int64_t) {}},  // accepted and ignored
    {"-grounding", false, [](Prover& p, std::int64_t) { p.test_grounding = true; }},
    // Long options: settings of the drivers around the search.
    {"--szs", false, [](Prover& p, std::int64_t) { p.szs_output = true; }},
    {"--auto", false, [](Prover& p, std::int64_t) { p.auto_mode = true; }},
    {"--restricted-backtracking", false,
     [](Prover& p, std::int64_t) { p.restricted_backtracking = true; }},
    {"--conjecture-start", false, [](Prover& p, std::int64_t) { p.conjecture_start = true; }},
    {"--statistics", false, [](Prover& p, std::int64_t) { p.statistics = true; }},
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

}  // namespace

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
    i += option->takes_number ? 2 : 1;
  }
  return i;
}

}  // namespace velkor
