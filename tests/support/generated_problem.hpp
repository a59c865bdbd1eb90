// Small TPTP problems for testing the engines against each other: a few
// clauses, sometimes a conjecture, over a signature whose kinds of symbols
// are drawn first, so that problems without function symbols, with
// functions, with equality, distinct objects and numbers all come up,
// satisfiable and not.  `draw(n)` gives a number from 0 to n - 1 (a random
// generator in the tests, the input's bytes in a fuzz target).
#pragma once

#include <string>
#include <vector>

namespace testing_support {

template <typename Draw>
std::string generated_problem(Draw&& draw) {
  std::vector<std::string> constants{"a", "b"};
  if (draw(3) > 0) constants.insert(constants.end(), {"\"x\"", "\"y\""});
  if (draw(4) == 0) constants.insert(constants.end(), {"1", "2"});
  const bool functions = draw(2) == 1;
  auto term = [&](auto&& self, int depth) -> std::string {
    if (depth > 0 && functions && draw(3) == 0)
      return draw(3) > 0 ? "f(" + self(self, depth - 1) + ")"
                         : "g(" + self(self, depth - 1) + "," + self(self, depth - 1) + ")";
    if (draw(3) == 0) return draw(2) ? "X" : "Y";
    return constants[draw(static_cast<unsigned>(constants.size()))];
  };
  auto literal = [&]() -> std::string {
    switch (draw(6)) {
      case 0:
        return term(term, 1) + " = " + term(term, 1);
      case 1:
        return term(term, 1) + " != " + term(term, 1);
      case 2:
        return "p(" + term(term, 1) + ")";
      case 3:
        return "~ p(" + term(term, 1) + ")";
      case 4:
        return (draw(2) ? "" : "~ ") + std::string("q(") + term(term, 1) + "," + term(term, 1) +
               ")";
      default:
        return draw(2) ? "r" : "~ r";
    }
  };
  std::string out;
  for (unsigned c = 0, n = 1 + draw(5); c < n; ++c) {
    std::string clause = literal();
    for (unsigned k = draw(3); k > 0; --k) clause += " | " + literal();
    out += "cnf(c" + std::to_string(c) + ",axiom," + clause + ").\n";
  }
  if (draw(3) == 0)
    out += "fof(goal,conjecture,! [Y] : ? [X] : (p(X) " + std::string(draw(2) ? "&" : "|") + " " +
           literal() + ")).\n";
  return out;
}

}  // namespace testing_support
