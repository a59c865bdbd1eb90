// The whole prover on generated problems: the input's bytes choose a small
// TPTP problem (tests/support/generated_problem.hpp), and velkor runs it as
// a user would, under
// every engine alone and under --auto.  A crash, a sanitizer report or two
// definite answers that disagree is a finding.
//
// Every run is bounded without the clock where it can be (a depth bound for
// the tableau: a single search stopped by its clock ends the process) and
// by a short CPU limit where the engine stops itself (--auto, --ground,
// --models).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "prover/driver/driver.hpp"
#include "tests/support/generated_problem.hpp"

namespace {

// Draws from the input's bytes; zeros once they are used up.
struct Bytes {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
  unsigned draw(unsigned n) { return at < size ? data[at++] % n : 0; }
};

// The SZS status velkor printed for the problem in `path` under `options`.
std::string run(const std::vector<std::string>& options, const std::string& path,
                const std::string& output) {
  std::vector<std::string> words{"velkor"};
  words.insert(words.end(), options.begin(), options.end());
  words.push_back(path);
  std::fflush(stdout);
  const int saved = dup(1);
  if (std::freopen(output.c_str(), "w", stdout) == nullptr) return "";
  velkor::run_velkor(words);
  std::fflush(stdout);
  dup2(saved, 1);
  close(saved);
  std::ifstream in(output);
  std::string line, status;
  while (std::getline(in, line))
    if (line.rfind("% SZS status ", 0) == 0) status = line.substr(13, line.find(' ', 13) - 13);
  return status;
}

bool refuted(const std::string& s) {
  return s == "Theorem" || s == "Unsatisfiable" || s == "ContradictoryAxioms";
}
bool satisfied(const std::string& s) {
  return s == "CounterSatisfiable" || s == "Satisfiable";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bytes in{data, size};
  const std::string dir = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp");
  const std::string path = dir + "/whole-prover-" + std::to_string(getpid()) + ".p";
  const std::string output = path + ".out";
  const bool free_numbers = in.draw(4) == 0;
  {
    std::ofstream file(path);
    file << testing_support::generated_problem([&](unsigned n) { return in.draw(n); });
  }
  static const std::vector<std::vector<std::string>> kEngines = {
      {"-reg", "-d", "4"},
      {"--equality-modification", "-reg", "-d", "4"},
      {"--ground", "--time-limit", "0.05"},
      {"--models", "--time-limit", "0.05"},
      {"--saturation", "--time-limit", "0.05"},
      {"--auto", "--time-limit", "0.1"},
  };
  std::string definite;
  for (std::vector<std::string> options : kEngines) {
    if (free_numbers) options.push_back("--free-numbers");
    const std::string status = run(options, path, output);
    if (status.empty()) __builtin_trap();  // every run of a TPTP problem ends with a status
    if (!refuted(status) && !satisfied(status)) continue;
    if (!definite.empty() && refuted(definite) != refuted(status)) __builtin_trap();
    definite = status;
  }
  std::remove(path.c_str());
  std::remove(output.c_str());
  return 0;
}
