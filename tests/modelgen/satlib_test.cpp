// The SATLIB benchmark instances: uf* are satisfiable, uuf* unsatisfiable,
// and the model quorvel prints for each satisfiable one satisfies every
// clause of its file.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/modelgen/quorvel_run.hpp"

namespace quorvel_test {
namespace {

namespace fs = std::filesystem;

std::vector<std::vector<int>> read_dimacs_clauses(const std::string& text) {
  std::vector<std::vector<int>> clauses;
  std::vector<int> clause;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == 'c' || line[0] == 'p') continue;
    if (line[0] == '%') break;
    std::istringstream words(line);
    int literal;
    while (words >> literal) {
      if (literal == 0) {
        clauses.push_back(clause);
        clause.clear();
      } else {
        clause.push_back(literal);
      }
    }
  }
  return clauses;
}

// The literals of the first model block of a -negmodel run, by atom: +1 or -1.
std::vector<int> read_model(const std::string& out, std::size_t atoms) {
  std::vector<int> values(atoms + 1, 0);
  std::istringstream lines(out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "model 1:");
  while (std::getline(lines, line) && !line.starts_with("satisfiable")) {
    std::istringstream words(line);
    int literal;
    while (words >> literal) {
      std::size_t atom = static_cast<std::size_t>(literal < 0 ? -literal : literal);
      EXPECT_LE(atom, atoms);
      if (atom <= atoms) values[atom] = literal < 0 ? -1 : 1;
    }
  }
  return values;
}

TEST(Satlib, EveryInstanceGetsTheKnownAnswer) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(std::string(TEST_DATA_DIR) + "/satlib"))
    if (entry.path().extension() == ".cnf") files.push_back(entry.path());
  ASSERT_FALSE(files.empty());
  int satisfiable = 0, unsatisfiable = 0;
  for (const fs::path& file : files) {
    std::string name = file.filename().string();
#if defined(__SANITIZE_ADDRESS__)
    // The checked build is many times slower; the larger refutations add nothing there.
    if (name.starts_with("uuf1") && !name.starts_with("uuf100")) continue;
#endif
    RunResult result = run_args({"-negmodel", file.string()});
    EXPECT_EQ(result.status, 0) << name;
    EXPECT_EQ(result.err, "") << name;
    if (name.starts_with("uuf")) {
      ++unsatisfiable;
      EXPECT_TRUE(result.out.starts_with("unsatisfiable: ")) << name << ": " << result.out;
      continue;
    }
    ++satisfiable;
    ASSERT_TRUE(name.starts_with("uf")) << name;
    std::vector<std::vector<int>> clauses =
        read_dimacs_clauses(testing_support::read_file(file.string()));
    std::size_t atoms = 0;
    for (const auto& clause : clauses)
      for (int literal : clause)
        atoms = std::max(atoms, static_cast<std::size_t>(std::abs(literal)));
    EXPECT_NE(result.out.find("\nsatisfiable: "), std::string::npos) << name << ": " << result.out;
    std::vector<int> model = read_model(result.out, atoms);
    for (const auto& clause : clauses) {
      bool satisfied = false;
      for (int literal : clause)
        satisfied = satisfied ||
                    model[static_cast<std::size_t>(std::abs(literal))] == (literal < 0 ? -1 : 1);
      EXPECT_TRUE(satisfied) << name << ": a clause is false in the model";
    }
  }
  EXPECT_GT(satisfiable, 0);
  EXPECT_GT(unsatisfiable, 0);
}

}  // namespace
}  // namespace quorvel_test
