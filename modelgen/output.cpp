// Standard output of quorvel: the atom-order line, the model blocks and the
// result line.  Output goes through the buffered stream `out`; numbers are
// written in decimal without padding.  Labels of general-syntax atoms are
// rendered once before the search, so printing a model allocates nothing.
#include <charconv>

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
