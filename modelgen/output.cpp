// Standard output of quorvel: the atom-order line, the model blocks and the
// result line, or with --sat-competition the output SAT harnesses read.
// Output goes through the buffered stream `out`; numbers are written in
// decimal without padding.  Labels of general-syntax atoms are rendered once
// before the search, so printing a model allocates nothing.
#include <charconv>
#include <string>

#include "modelgen/model_generator.hpp"

namespace modelgen {

void ModelGenerator::print_text(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), out);
}

void ModelGenerator::print_number(std::int64_t number) {
  char buffer[24];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, number);
  (void)error;
  print_text({buffer, static_cast<std::size_t>(end - buffer)});
}

void ModelGenerator::print_atom_order() {
  for (const Atom* atom : atom_order) {
    print_number(atom->number);
    print_text(" ");
  }
  print_text("\n");
}

// In the general syntax an atom is shown as its literal datum; split atoms
// and atoms of the integer syntax (and of DIMACS files) by their number.
void ModelGenerator::make_labels() {
  if (!generic_input || dimacs_input) return;
  labels.assign(atom_order.size(), std::string_view{});
  for (std::size_t i = 0; i < atom_order.size(); ++i) {
    std::int32_t number = atom_order[i]->number;
    if (number < kInputAtomLimit && datum_table[static_cast<std::size_t>(number)] != nullptr)
      labels[i] = display_datum(datum_table[static_cast<std::size_t>(number)]);
  }
}

void ModelGenerator::print_model() {
  if (!negative_model) print_text("positive part of ");
  print_text("model ");
  print_number(models_found);
  print_text(":\n");
  std::int64_t printed = 0;
  for (std::size_t i = 0; i < atom_order.size(); ++i) {
    const Atom* atom = atom_order[i];
    std::string_view sign;
    if (atom->value == Value::kTrue)
      sign = " ";
    else if (negative_model)
      sign = " -";
    else
      continue;
    if (printed > 0 && printed % 10 == 0) print_text("\n");
    print_text(sign);
    if (i < labels.size() && labels[i].data() != nullptr)
      print_text(labels[i]);
    else
      print_number(atom->number);
    ++printed;
  }
  print_text("\n");
}

void ModelGenerator::print_result_line() {
  if (models_found == 0) {
    print_text("unsatisfiable: ");
    print_number(search_result);
  } else {
    print_text("satisfiable: ");
    if (all_models && (verbosity == 0 || (verbosity == 1 && models_found > 1))) {
      print_text("nr of models: ");
      print_number(models_found);
      print_text(", ");
    }
    print_number(last_model_count);
  }
  print_text(" branches");
  if (attempt > 1) {
    print_text(" in attempt ");
    print_number(attempt);
  }
  print_text("\n");
}

}  // namespace modelgen

namespace modelgen {
namespace {

// Longest "v" line, its newline included.
constexpr std::size_t kCompetitionLineLength = 4096;

}  // namespace

// Keeps the first model by atom number; atoms 1 to variable_count that have
// no record (they occur in no clause but tautologies) stay false.
void ModelGenerator::record_competition_model() {
  if (models_found > 1) return;
  competition_model.assign(static_cast<std::size_t>(variable_count) + 1, Value::kFalse);
  for (const Atom* atom : atom_order)
    if (atom->number <= variable_count)
      competition_model[static_cast<std::size_t>(atom->number)] = atom->value;
}

// The result line as a comment, one "s" line and, for a model, "v" lines
// listing every atom 1 to variable_count with its sign, ended by 0.
int ModelGenerator::print_competition_result() {
  print_text("c ");
  if (attempts_repeat) {
    print_text("stopped before attempt ");
    print_number(attempt);
    print_text(": the step limit no longer grows and no seed is left\ns UNKNOWN\n");
    return kStatusCompetitionUnknown;
  }
  print_result_line();
  if (models_found == 0) {
    print_text("s UNSATISFIABLE\n");
    return kStatusCompetitionUnsatisfiable;
  }
  print_text("s SATISFIABLE\n");
  std::string line = "v";
  auto add = [&](std::int64_t literal) {
    std::string word = " " + std::to_string(literal);
    if (line.size() + word.size() + 1 > kCompetitionLineLength) {
      print_text(line);
      print_text("\n");
      line = "v";
    }
    line += word;
  };
  for (std::size_t number = 1; number < competition_model.size(); ++number) {
    auto atom = static_cast<std::int64_t>(number);
    add(competition_model[number] == Value::kTrue ? atom : -atom);
  }
  add(0);
  print_text(line);
  print_text("\n");
  return kStatusCompetitionSatisfiable;
}

}  // namespace modelgen
