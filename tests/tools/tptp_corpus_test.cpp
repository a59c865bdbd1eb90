// Converts every problem of the shared TPTP collection with the built
// program and checks each result against velkor's grammar, against the
// problem's own "% Syntax" header and for the equality axioms it appends.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "prover/tptp/convert.hpp"
#include "tests/support/run_program.hpp"
#include "tests/tools/input_clause_reader.hpp"

namespace {

namespace fs = std::filesystem;
using testing_support::read_file;
using testing_support::run_program;

// The numbers a TPTP "% Syntax" header gives; -1 where the header has none.
struct Header {
  long clauses = -1, units = -1, non_horn = -1, literals = -1, equality = -1, negative = -1;
  long max_size = -1, predicates = -1, propositional = -1, functors = -1, constants = -1;
  long variables = -1, singletons = -1;
  std::string predicate_arities, functor_arities;
};

Header parse_header(const std::string& file_text) {
  // The header is the comment block at the top; the clauses can be megabytes.
  const std::string text = file_text.substr(0, file_text.find("\ncnf("));
  Header h;
  std::smatch m;
  auto find = [&](const char* pattern) { return std::regex_search(text, m, std::regex(pattern)); };
  auto n = [&](int i) { return std::stol(m[i].str()); };
  if (find(R"(Number of clauses\s*:\s*(\d+)\s*\(\s*(\d+) unt;\s*(\d+) nHn)")) {
    h.clauses = n(1), h.units = n(2), h.non_horn = n(3);
  }
  if (find(R"(Number of literals\s*:\s*(\d+)\s*\(\s*(\d+) equ;\s*(\d+) neg\))")) {
    h.literals = n(1), h.equality = n(2), h.negative = n(3);
  }
  if (find(R"(Maximal clause size\s*:\s*(\d+))")) h.max_size = n(1);
  if (find(R"(Number of predicates\s*:\s*(\d+)\s*\(\s*\d+ usr;\s*(\d+) prp;\s*(\S+) aty\))")) {
    h.predicates = n(1), h.propositional = n(2), h.predicate_arities = m[3].str();
  }
  if (find(R"(Number of functors\s*:\s*(\d+)\s*\(\s*\d+ usr;\s*(\d+) con;\s*(\S+) aty\))")) {
    h.functors = n(1), h.constants = n(2), h.functor_arities = m[3].str();
  }
  if (find(R"(Number of variables\s*:\s*(\d+)\s*\(\s*(\d+) sgn\))")) {
    h.variables = n(1), h.singletons = n(2);
  }
  return h;
}

// Problems the converter must refuse, each for a reason it names.
const std::set<std::string> kRefused = {
    "SYN915-1.p",  // its only clause is $false: the empty clause
};

std::vector<fs::path> corpus() {
  fs::path problems = fs::path(TEST_DATA_DIR) / "tptp" / "Problems";
  std::vector<fs::path> files;
  if (!fs::is_directory(problems)) return files;
  for (const auto& entry : fs::directory_iterator(problems))
    if (entry.path().extension() == ".p") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

void expect_refused(const fs::path& file, const testing_support::RunResult& run) {
  EXPECT_NE(run.status, 0);
  EXPECT_TRUE(run.out.empty());
  EXPECT_NE(run.err.find(file.filename().string() + ":"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("empty"), std::string::npos) << run.err;
}

// Without the equality axioms and with every tautology kept, the clauses
// written are those of the problem, so every count of its header must come
// out the same: a symbol merged, split, lost or added, a literal changing
// sign or a clause lost shows up here.
TEST(TptpCorpus, EveryProblemConvertsToReadableClausesMatchingItsHeader) {
  std::vector<fs::path> files = corpus();
  ASSERT_EQ(files.size(), 29u);

  std::size_t converted = 0, compared = 0;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    auto run = run_program(TPTP_TO_VELKOR_BIN,
                           {"--no-equality-axioms", "--keep-tautologies", file.string()});
    if (kRefused.contains(file.filename().string())) {
      expect_refused(file, run);
      continue;
    }
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    ++converted;
    auto read = tools_testing::read_input_clauses(run.out);
    ASSERT_TRUE(read.ok) << read.error;

    Header h = parse_header(read_file(file.string()));
    if (h.clauses < 0) continue;  // clausified problems without a header
    ++compared;
    const auto& s = read.stats;
    EXPECT_EQ(static_cast<long>(s.clauses), h.clauses);
    EXPECT_EQ(static_cast<long>(s.units), h.units);
    EXPECT_EQ(static_cast<long>(s.non_horn), h.non_horn);
    EXPECT_EQ(static_cast<long>(s.literals), h.literals);
    EXPECT_EQ(static_cast<long>(s.equality_literals), h.equality);
    EXPECT_EQ(static_cast<long>(s.negative_literals), h.negative);
    EXPECT_EQ(static_cast<long>(s.max_clause_size), h.max_size);
    EXPECT_EQ(static_cast<long>(s.predicates), h.predicates);
    EXPECT_EQ(static_cast<long>(s.propositional), h.propositional);
    EXPECT_EQ(s.predicate_arities, h.predicate_arities);
    EXPECT_EQ(static_cast<long>(s.functors), h.functors);
    EXPECT_EQ(static_cast<long>(s.constants), h.constants);
    EXPECT_EQ(s.functor_arities, h.functor_arities);
    EXPECT_EQ(static_cast<long>(s.variables), h.variables);
    EXPECT_EQ(static_cast<long>(s.singletons), h.singletons);
  }
  EXPECT_EQ(converted, files.size() - kRefused.size());
  // Every problem of the sample has a header; SYN915-1 is refused.
  EXPECT_EQ(compared, 28u);
}

// What velkor is given by default: the problem's clauses as the library
// writes them without axioms, followed by exactly one reflexivity, symmetry
// and transitivity axiom and one substitution axiom per argument position of
// every symbol, when and only when the clauses use equality.
TEST(TptpCorpus, DefaultConversionAppendsReadableEqualityAxioms) {
  std::vector<fs::path> files = corpus();
  ASSERT_FALSE(files.empty());

  std::size_t with_axioms = 0;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    auto run = run_program(TPTP_TO_VELKOR_BIN, {file.string()});
    if (kRefused.contains(file.filename().string())) {
      expect_refused(file, run);
      continue;
    }
    ASSERT_EQ(run.status, 0) << run.err;
    auto read = tools_testing::read_input_clauses(run.out);
    ASSERT_TRUE(read.ok) << read.error;

    auto bare = tptp::convert({file.string(), std::nullopt, std::nullopt, false});
    ASSERT_TRUE(bare.ok) << bare.error;
    ASSERT_EQ(run.out.compare(0, bare.output.size(), bare.output), 0);
    auto bare_read = tools_testing::read_input_clauses(bare.output);
    ASSERT_TRUE(bare_read.ok) << bare_read.error;
    const auto& b = bare_read.stats;
    const auto& s = read.stats;

    std::size_t positions = b.functor_positions + b.predicate_positions;
    bool equality = b.equality_literals > 0;
    Header h = parse_header(read_file(file.string()));
    if (h.equality >= 0) {
      EXPECT_EQ(equality, h.equality > 0);
    }
    EXPECT_EQ(s.clauses - b.clauses, equality ? 3 + positions : 0);
    // Literals: 1 + 2 + 3, then 2 per function position and 3 per predicate one.
    EXPECT_EQ(s.literals - b.literals,
              equality ? 6 + 2 * b.functor_positions + 3 * b.predicate_positions : 0);
    // The axioms use the problem's symbols and no others.
    EXPECT_EQ(s.predicates, b.predicates);
    EXPECT_EQ(s.predicate_arities, b.predicate_arities);
    EXPECT_EQ(s.functors, b.functors);
    EXPECT_EQ(s.functor_arities, b.functor_arities);
    if (equality) ++with_axioms;
  }
  // The problems of the sample whose header counts equality literals.
  EXPECT_EQ(with_axioms, 7u);
}

}  // namespace
