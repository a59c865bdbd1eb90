// proof-check: checks a proof that velkor printed with -proof by confirming
// with quorvel that the ground clause instances it lists are unsatisfiable.

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <new>
#include <optional>
#include <sstream>
#include <string>

#include "common/large_stack.hpp"
#include "tools/proof_check/check.hpp"
#include "version.hpp"

namespace {

constexpr const char* kUsage =
    "usage: proof-check [--quorvel PATH] [--problem FILE] [--root DIR] [--ground FILE]\n"
    "                   [OUTPUT | -]\n"
    "Checks velkor's output of a run with -proof (from OUTPUT, or standard input when\n"
    "it is - or missing): the instances under USED CLAUSES, or those of a TSTP\n"
    "refutation between \"% SZS output start/end CNFRefutation\", with every variable\n"
    "replaced by one fresh constant, must be unsatisfiable for quorvel.\n"
    "  --quorvel PATH   the quorvel program (default: the one beside proof-check,\n"
    "                   else " QUORVEL_DEFAULT
    ")\n"
    "  --problem FILE   the problem velkor read: every used clause must be the clause\n"
    "                   of that number in it (a TSTP refutation: every leaf taken from\n"
    "                   file(_, NAME) must be the clause NAME, up to variable names)\n"
    "  --root DIR       resolve include(...) of a TPTP problem against DIR (default:\n"
    "                   the TPTP environment variable, else the nearest directory\n"
    "                   above the problem holding the file)\n"
    "  --ground FILE    also write the ground clauses given to quorvel to FILE\n"
    "  --help, --version  this text; the release and the commit of this build\n"
    "Exit status: 0 the proof checks, 1 it does not, 2 unusable input or no verdict.\n";

constexpr int kUnusable = 2;

// An installed proof-check finds quorvel in its own folder; in the build
// folder it uses the quorvel of the same build.
std::string default_quorvel() {
  std::error_code error;
  std::filesystem::path beside =
      std::filesystem::read_symlink("/proc/self/exe", error).parent_path() / "quorvel";
  if (!error && std::filesystem::is_regular_file(beside, error)) return beside.string();
  return QUORVEL_DEFAULT;
}

int usage_error(const std::string& message) {
  std::cerr << "proof-check: " << message << "\n" << kUsage;
  return kUnusable;
}

bool read_text(std::istream& in, std::string& text) {
  std::ostringstream s;
  s << in.rdbuf();
  text = s.str();
  return !in.bad();
}

int run(int argc, char** argv) {
  proof_check::CheckOptions options{default_quorvel(), std::nullopt};
  std::string input = "-", problem_path, ground_path;
  bool have_input = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    if (arg == "-h" || arg == "--help") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--version") {
      std::cout << "proof-check " << common::kRelease << " (commit " << common::kCommit << ")\n";
      return 0;
    } else if (arg == "--quorvel" || arg == "--problem" || arg == "--ground" || arg == "--root") {
      const char* v = value();
      if (!v) return usage_error(arg + " needs an argument");
      if (arg == "--quorvel") options.quorvel = v;
      if (arg == "--problem") problem_path = v;
      if (arg == "--ground") ground_path = v;
      if (arg == "--root") options.tptp_root = v;
    } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
      return usage_error("unknown option " + arg);
    } else if (have_input) {
      return usage_error("more than one input file");
    } else {
      input = arg;
      have_input = true;
    }
  }
  if (!options.tptp_root) {
    const char* env = std::getenv("TPTP");
    if (env && *env) options.tptp_root = env;
  }

  std::string output;
  if (input == "-") {
    if (!read_text(std::cin, output)) return usage_error("cannot read standard input");
  } else {
    std::ifstream in(input, std::ios::binary);
    if (!in || !read_text(in, output)) return usage_error("cannot read " + input);
    options.input_name = input;
  }
  if (!problem_path.empty()) {
    std::ifstream in(problem_path, std::ios::binary);
    std::string text;
    if (!in || !read_text(in, text)) return usage_error("cannot read " + problem_path);
    options.problem = std::move(text);
    options.problem_path = problem_path;
  }

  proof_check::CheckResult result = proof_check::check_proof(output, options);
  if (!ground_path.empty()) std::ofstream(ground_path, std::ios::binary) << result.ground_clauses;
  switch (result.outcome) {
    case proof_check::Outcome::kChecks:
      std::cout << result.message << "\n";
      return 0;
    case proof_check::Outcome::kRejected:
      std::cout << result.message << "\n";
      return 1;
    case proof_check::Outcome::kUnusable:
      std::cerr << "proof-check: " << result.message << "\n";
      return kUnusable;
  }
  return kUnusable;
}

}  // namespace

int main(int argc, char** argv) {
  // Reading, comparing and grounding the used clauses of the USED CLAUSES
  // format, and the TPTP library's reading of a problem, recurse once per
  // nesting level of a term, so the check runs on a thread with a stack as
  // large as any input can need.  Whatever escapes it ends the run as
  // unusable, never with an uncaught exception.
  return common::run_with_large_stack([&] {
    try {
      return run(argc, argv);
    } catch (const std::bad_alloc&) {
      std::cerr << "proof-check: out of memory\n";
    } catch (const std::exception& error) {
      std::cerr << "proof-check: " << error.what() << "\n";
    } catch (...) {
      std::cerr << "proof-check: unknown failure\n";
    }
    return kUnusable;
  });
}
