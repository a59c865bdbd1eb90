// Command line of quorvel: one table of option words from which parsing
// follows, and the usage text.
//
// The last word is always the clause file name and is never read as an
// option.  Options are applied left to right, so later ones overwrite
// earlier ones; flags can only be switched on.  Numeric arguments are read
// like strtol reads them and saturate at the 32-bit range of the settings.
#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>

#include "common/decimal.hpp"
#include "modelgen/model_generator.hpp"

namespace modelgen {
namespace {

// A 334251271 seed stands in for a seed of 0, which would switch the tie-break off.
constexpr std::int32_t kDefaultSeed = 334251271;

struct OptionWord {
  std::string_view word;
  bool takes_argument;
  void (*apply)(ModelGenerator& g, std::int32_t argument);
};

constexpr std::array kOptions = {
    OptionWord{"-negmodel", false,
               [](ModelGenerator& g, std::int32_t) { g.negative_model = true; }},
    OptionWord{"-allmodels", false, [](ModelGenerator& g, std::int32_t) { g.all_models = true; }},
    OptionWord{"-atomlist", false, [](ModelGenerator& g, std::int32_t) { g.atom_list = true; }},
    OptionWord{"-max", false, [](ModelGenerator& g, std::int32_t) { g.max_weight = true; }},
    OptionWord{"-pos", false, [](ModelGenerator& g, std::int32_t) { g.positive_first = true; }},
    OptionWord{"-neg", false, [](ModelGenerator& g, std::int32_t) { g.negative_first = true; }},
    OptionWord{"-verbose", true, [](ModelGenerator& g, std::int32_t n) { g.verbosity = n; }},
    OptionWord{"-noverbose", false, [](ModelGenerator& g, std::int32_t) { g.verbosity = 0; }},
    OptionWord{"-dynamic", false, [](ModelGenerator& g, std::int32_t) { g.dynamic = true; }},
    OptionWord{"-maxdyn", true,
               [](ModelGenerator& g, std::int32_t n) {
                 g.dynamic = true;
                 g.dynamic_depth = n;
               }},
    OptionWord{"-switch", false, [](ModelGenerator&, std::int32_t) {}},
    OptionWord{"-geninput", false, [](ModelGenerator& g, std::int32_t) { g.generic_input = true; }},
    OptionWord{"-size", true, [](ModelGenerator&, std::int32_t) {}},
    OptionWord{"-limit", true, [](ModelGenerator& g, std::int32_t n) { g.step_limit = n; }},
    OptionWord{"-rand", true,
               [](ModelGenerator& g, std::int32_t n) { g.seed = n == 0 ? kDefaultSeed : n; }},
    OptionWord{"-randp", true, [](ModelGenerator& g, std::int32_t n) { g.random_percent = n; }},
    OptionWord{"-limit+", true, [](ModelGenerator& g, std::int32_t n) { g.limit_growth = n; }},
    OptionWord{"-div", true, [](ModelGenerator& g, std::int32_t n) { g.divisor_exponent = n; }},
    OptionWord{"-enddiv", true, [](ModelGenerator&, std::int32_t) {}},
    OptionWord{"-freqdiv", true, [](ModelGenerator& g, std::int32_t n) { g.tie_granularity = n; }},
    OptionWord{"-split", true,
               [](ModelGenerator& g, std::int32_t n) {
                 g.split_long_clauses = true;
                 g.split_budget = std::min(g.split_budget, n);
               }},
    OptionWord{"-dynatom", true, [](ModelGenerator& g, std::int32_t n) { g.look_ahead = n; }},
    OptionWord{"-maxsteps", true, [](ModelGenerator&, std::int32_t) {}},
    OptionWord{"--sat-competition", false,
               [](ModelGenerator& g, std::int32_t) { g.sat_competition = true; }},
    OptionWord{"--cdcl", false, [](ModelGenerator& g, std::int32_t) { g.conflict_driven = true; }},
};

struct UsageLine {
  std::string_view text;
  int newlines;
};

constexpr std::array kUsage = {
    UsageLine{"*** Usage: quorvel <option>s <filename> *** ", 2},
    UsageLine{"<filename> must contain input <clause>s", 2},
    UsageLine{"Default syntax: <clause> ::= (I_1 ... I_n), any I_i an integer != 0", 2},
    UsageLine{"Default model output: only the positive literals in model are displayed", 2},
    UsageLine{"Default branching criterion: branches first to positive valuation except", 1},
    UsageLine{"the literal occurs with a higher weight positively in the formula", 2},
    UsageLine{"<option>s:", 1},
    UsageLine{"-geninput:      switches to general syntax: <clause> ::= (<pos> <neg>) where", 1},
    UsageLine{"                <pos> and <neg> are lists of arbitrary scheme objects which", 1},
    UsageLine{"                denote the positive resp. negative literals in the clause", 1},
    UsageLine{"-allmodels:     computes all models", 1},
    UsageLine{"-noverbose:     only number of models displayed", 1},
    UsageLine{"-verbose 0:     only number of models displayed", 1},
    UsageLine{"-verbose 1:     only first model and number of models displayed", 1},
    UsageLine{"-negmodel:      also negated literals in model displayed", 1},
    UsageLine{"-neg:           branches always first to negative literal", 1},
    UsageLine{"-pos:           branches always first to positive literal if -pos is off", 1},
    UsageLine{"-div {0-6}:     different weight functions w: c clause, l length of c", 1},
    UsageLine{"                div = i: w(c) = 1/(l^i), default is -div 3,", 1},
    UsageLine{"                atom selection is acc. to maximal weight, atom weight is the", 1},
    UsageLine{"                sum of the weights of the clauses in which the atom occurs", 1},
    UsageLine{"-max:           atom weight is not sum but maximum of pos. and neg. weights", 1},
    UsageLine{"-dynamic:       dynamic atom selection wrt. current clause weights", 1},
    UsageLine{"-maxdyn <NAT>:  from proper branch depth <NAT> on initial atom ordering used,", 1},
    UsageLine{"                -dynamic is switched on", 2},
    UsageLine{"General remarks: later options overwrite earlier ones", 1},
};

[[noreturn]] void abort_parameter_list(ModelGenerator& g) {
  g.print_text("Abort: error in parameter list\n");
  throw RunStopped{kStatusParameterError};
}

}  // namespace

std::int32_t read_setting(std::string_view word) {
  std::string text(word);
  std::int64_t value = common::read_decimal(text.c_str());
  value = std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(value);
}

void ModelGenerator::parse_options(std::span<const std::string_view> words) {
  std::size_t last = words.size() - 1;  // the file name
  std::size_t i = 0;
  while (i < last) {
    const OptionWord* option = nullptr;
    for (const OptionWord& candidate : kOptions)
      if (candidate.word == words[i]) option = &candidate;
    if (option == nullptr) abort_parameter_list(*this);
    if (!option->takes_argument) {
      option->apply(*this, 0);
      i += 1;
      continue;
    }
    if (i + 1 == last) {
      // The argument would be the file name, and no file name would be left.
      std::fprintf(stderr, "quorvel: option %s needs an argument before the file name\n",
                   option->word.data());
      abort_parameter_list(*this);
    }
    option->apply(*this, read_setting(words[i + 1]));
    i += 2;
  }
  file_name = std::string(words[last]);
  // The competition format holds one model.
  if (sat_competition) all_models = false;
}

void ModelGenerator::print_usage() {
  for (const UsageLine& line : kUsage) {
    print_text(line.text);
    for (int n = 0; n < line.newlines; ++n) print_text("\n");
  }
}

}  // namespace modelgen
