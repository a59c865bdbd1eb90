// tptp-to-velkor: prints a TPTP problem (clauses, first-order formulas or
// both) in the input_clause syntax that velkor reads.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <new>
#include <string>

#include "tptp/convert.hpp"
#include "version.hpp"

namespace {

constexpr const char* kUsage =
    "usage: tptp-to-velkor [--root DIR] [-o OUTPUT] [--no-equality-axioms]\n"
    "                      [--keep-tautologies] [--definitions N] [--no-miniscoping]\n"
    "                      [--free-numbers]\n"
    "                      PROBLEM.p\n"
    "Converts a TPTP problem of clauses (cnf), first-order formulas (fof) or both\n"
    "into input_clause entries; formulas are clausified, conjectures negated.\n"
    "  --root DIR             resolve include(...) against DIR (default: the TPTP\n"
    "                         environment variable, else the nearest directory above\n"
    "                         PROBLEM holding the file)\n"
    "  -o OUTPUT              write the clauses to OUTPUT instead of standard output\n"
    "  --no-equality-axioms   do not append the equality axioms (reflexivity, symmetry,\n"
    "                         transitivity, substitution for every function and\n"
    "                         predicate) that are otherwise added when a clause uses\n"
    "                         = or != ; velkor then reads equal as an ordinary predicate\n"
    "  --keep-tautologies     write clauses with an atom of both signs instead of\n"
    "                         leaving them out (clauses with $true or ~$false are\n"
    "                         always left out)\n"
    "  --definitions N        name a subformula by a new predicate when distributing\n"
    "                         it would give more than N clauses (default 2)\n"
    "  --no-miniscoping       Skolemize without first moving quantifiers inward\n"
    "  --free-numbers         numbers are ordinary constants; by default two different\n"
    "                         numbers, like two different \"...\" objects, are unequal\n"
    "  --help, --version      this text; the release and the commit of this build\n";

int usage_error(const std::string& message) {
  std::cerr << "tptp-to-velkor: " << message << "\n" << kUsage;
  return 2;
}

int run(int argc, char** argv) {
  tptp::ConvertOptions options;
  tptp::ClausifyOptions clausify;
  std::string output_path;
  bool have_problem = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    if (arg == "-h" || arg == "--help") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--version") {
      std::cout << "tptp-to-velkor " << common::kRelease << " (commit " << common::kCommit << ")\n";
      return 0;
    } else if (arg == "--root") {
      const char* dir = value();
      if (!dir) return usage_error("--root needs a directory");
      options.root = dir;
    } else if (arg.rfind("--root=", 0) == 0) {
      options.root = arg.substr(7);
    } else if (arg == "--no-equality-axioms") {
      options.equality_axioms = false;
    } else if (arg == "--definitions") {
      const char* number = value();
      char* end = nullptr;
      unsigned long long n = number ? std::strtoull(number, &end, 10) : 0;
      if (!number || *number == '-' || end == number || *end != '\0')
        return usage_error("--definitions needs a number of clauses");
      clausify.definition_threshold = n;
    } else if (arg == "--no-miniscoping") {
      clausify.miniscope = false;
    } else if (arg == "--free-numbers") {
      options.free_numbers = true;
    } else if (arg == "--keep-tautologies") {
      options.keep_tautologies = true;
    } else if (arg == "-o") {
      const char* file = value();
      if (!file) return usage_error("-o needs a file name");
      output_path = file;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return usage_error("unknown option " + arg);
    } else if (have_problem) {
      return usage_error("only one problem file can be converted at a time");
    } else {
      options.problem_path = arg;
      have_problem = true;
    }
  }
  if (!have_problem) return usage_error("no problem file given");
  if (!options.root) {
    const char* env = std::getenv("TPTP");
    if (env && *env) options.root = env;
  }

  tptp::ConvertResult result = tptp::convert(options, clausify);
  if (!result.ok) {
    std::cerr << "tptp-to-velkor: " << result.error << "\n";
    return 1;
  }
  if (output_path.empty()) {
    std::fwrite(result.output.data(), 1, result.output.size(), stdout);
    if (std::fflush(stdout) != 0) {
      std::cerr << "tptp-to-velkor: cannot write to standard output\n";
      return 1;
    }
    return 0;
  }
  std::ofstream out(output_path, std::ios::binary);
  out << result.output;
  out.close();
  if (!out) {
    std::cerr << "tptp-to-velkor: cannot write '" << output_path << "'\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // The conversion reports its own failures; this is the last guard for
  // anything else, so that no exception ends the program unexplained.
  try {
    return run(argc, argv);
  } catch (const std::bad_alloc&) {
    std::cerr << "tptp-to-velkor: out of memory\n";
  } catch (const std::exception& error) {
    std::cerr << "tptp-to-velkor: " << error.what() << "\n";
  } catch (...) {
    std::cerr << "tptp-to-velkor: unknown failure\n";
  }
  return 1;
}
