// A fresh prover per test, with its standard output captured in memory and
// problems given as text in the input syntax.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "prover/prover.hpp"

namespace velkor::testing {

class ProverTest : public ::testing::Test {
 protected:
  ProverTest() : p(std::make_unique<Prover>()) { p->out = open_memstream(&buffer_, &length_); }
  ~ProverTest() override {
    std::fclose(p->out);
    std::free(buffer_);
  }

  // Reads a problem given as text (settings made before take effect).
  void load(const std::string& text) { p->parse_problem(text); }

  Clause* clause(std::size_t number) { return p->formula_clauses.at(number - 1); }
  // Literal `index` (from 0) of input clause `number` (from 1).
  Literal* literal(std::size_t number, std::int64_t index) {
    return &clause(number)->literals[index];
  }
  // Subgoal `index` of the first free copy of clause `number`.
  Literal* subgoal(std::size_t number, std::int64_t index) {
    return &p->first_free_copy(clause(number))->subgoals[index];
  }

  // Everything printed so far; clears the capture.
  std::string output() {
    std::fflush(p->out);
    std::string text(buffer_, length_);
    std::rewind(p->out);
    length_ = 0;
    return text;
  }

  // The term printed with current bindings.
  std::string show(Term* t) {
    output();
    p->display_term(t);
    return output();
  }
  std::string show(const Literal* l) {
    output();
    p->display_subgoal(l);
    return output();
  }

  std::unique_ptr<Prover> p;

 private:
  char* buffer_ = nullptr;
  std::size_t length_ = 0;
};

}  // namespace velkor::testing
