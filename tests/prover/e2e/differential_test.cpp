// Every engine answers for the same problem.  Small problems are generated
// (equality, distinct objects, numbers, with and without function symbols,
// satisfiable or not) and each is run by every engine alone, by --auto and
// by --auto --cores 2.  No run may crash, hang or run out of memory, no two
// definite answers may disagree, and every printed model must make every
// clause true and keep the distinct objects apart, by the tests' own
// evaluator.
#include <gtest/gtest.h>

#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/generated_problem.hpp"
#include "tests/support/model_check.hpp"
#include "tests/support/run_program.hpp"

namespace {

using testing_support::run_program;
using testing_support::RunResult;

bool refuted(const std::string& s) {
  return s == "Theorem" || s == "Unsatisfiable" || s == "ContradictoryAxioms";
}
bool satisfied(const std::string& s) {
  return s == "CounterSatisfiable" || s == "Satisfiable";
}

TEST(Differential, EveryEngineAgreesOnGeneratedProblems) {
  const std::vector<std::vector<std::string>> engines = {
      {"-reg", "-d", "6"},
      {"--equality-modification", "-reg", "-d", "6"},
      {"--ground"},
      {"--models"},
      {"--saturation"},
      {"--auto"},
      {"--auto", "--cores", "2"},
  };
  constexpr int kProblems = 150;
  std::mt19937 random(20261207);
  auto draw = [&](unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(random); };
  std::vector<std::string> problems;
  std::vector<bool> free_numbers;
  for (int i = 0; i < kProblems; ++i) {
    problems.push_back(testing_support::generated_problem(draw));
    free_numbers.push_back(draw(4) == 0);
  }
  std::mutex lock;
  std::vector<std::string> faults;
  int refutations = 0, models = 0;
  auto work = [&](int first) {
    for (int i = first; i < kProblems; i += 2) {
      const std::string path =
          testing_support::write_temp_file("generated" + std::to_string(i) + ".p", problems[i]);
      std::string definite;
      for (const auto& engine : engines) {
        std::vector<std::string> args = engine;
        args.insert(args.end(), {"--time-limit", "0.2"});
        if (free_numbers[i]) args.push_back("--free-numbers");
        args.push_back(path);
        const RunResult run = run_program(VELKOR_BIN, args, 20);
        std::string status;
        const std::size_t at = run.out.find("% SZS status ");
        if (at != std::string::npos)
          status = run.out.substr(at + 13, run.out.find(' ', at + 13) - at - 13);
        std::string fault;
        if (run.status != 0 && run.status != 2) fault = "exit status " + std::to_string(run.status);
        if (status.empty() || status == "MemoryOut" || status == "Error")
          fault += " status " + status;
        if (satisfied(status) && run.out.find("FiniteModel") != std::string::npos)
          fault += testing_support::model_faults(path, testing_support::read_model(run.out),
                                                 free_numbers[i]);
        if (refuted(status) || satisfied(status)) {
          if (!definite.empty() && refuted(definite) != refuted(status))
            fault += " disagrees with " + definite;
          definite = status;
        }
        std::lock_guard<std::mutex> guard(lock);
        refutations += refuted(status);
        models += satisfied(status);
        if (!fault.empty())
          faults.push_back(problems[i] + "velkor " + args[0] + "...: " + fault + "\n" + run.out);
      }
    }
  };
  std::thread other(work, 1);
  work(0);
  other.join();
  for (const std::string& f : faults) ADD_FAILURE() << f;
  // The problems are a mix: enough of each answer for the test to mean something.
  EXPECT_GT(refutations, kProblems / 2);
  EXPECT_GT(models, kProblems / 2);
}

}  // namespace
