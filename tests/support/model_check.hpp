// The tests' own check of a printed model, sharing nothing with velkor's:
// a FiniteModel block read back, and every clause of a problem (read and
// clausified by the TPTP library) evaluated in it under every assignment.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace testing_support {

// The model of a FiniteModel block: elements, function values and atoms.
struct PrintedModel {
  std::vector<std::string> domain;
  std::map<std::string, std::string> functions;  // "f(e0)" -> "e1"
  std::map<std::string, bool> atoms;             // "p(e0)" -> truth
};

// Reads the block from velkor's output (empty domain when there is none).
PrintedModel read_model(const std::string& output);

// What is wrong with the model as a model of the problem in `path`: the
// clauses (the negated conjecture's included) that some assignment makes
// false, two distinct objects (numbers too, unless `free_numbers`) on one
// element, a symbol left without a value; "" when it is a model.
std::string model_faults(const std::string& path, const PrintedModel& model,
                         bool free_numbers = false);

}  // namespace testing_support
