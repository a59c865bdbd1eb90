#include "tools/proof_check/check.hpp"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <unordered_map>
#include <vector>

#include "tools/proof_check/equality.hpp"
#include "tools/proof_check/proof.hpp"
#include "tools/proof_check/replay.hpp"
#include "tools/proof_check/tstp.hpp"
#include "tptp/error.hpp"
#include "tptp/reader.hpp"

namespace proof_check {
namespace {

std::string read_whole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A file in a fresh private directory that is removed with the object.
class TempDir {
 public:
  TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/proof-check-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data())) path_ = name.data();
  }
  ~TempDir() {
    if (path_.empty()) return;
    for (const char* file : {"/clauses", "/out", "/err"}) unlink((path_ + file).c_str());
    rmdir(path_.c_str());
  }
  bool ok() const { return !path_.empty(); }
  std::string file(const char* name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

struct Run {
  bool started = false;
  int status = -1;  // exit status, or 128 + signal
  std::string out, err;
};

// Runs quorvel on the clause file; its output goes to files so that no pipe
// can fill up while we wait for it.
Run run_quorvel(const std::string& quorvel, const TempDir& dir) {
  Run run;
  std::string clauses = dir.file("clauses"), out = dir.file("out"), err = dir.file("err");
  pid_t pid = fork();
  if (pid < 0) return run;
  if (pid == 0) {
    int in = open("/dev/null", O_RDONLY);
    int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || o < 0 || e < 0) _exit(127);
    dup2(in, 0);
    dup2(o, 1);
    dup2(e, 2);
    const char* argv[] = {quorvel.c_str(), "-negmodel", "-geninput", clauses.c_str(), nullptr};
    execv(quorvel.c_str(), const_cast<char* const*>(argv));
    _exit(127);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return run;
  run.started = !(WIFEXITED(status) && WEXITSTATUS(status) == 127);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.out = read_whole(out);
  run.err = read_whole(err);
  return run;
}

std::string last_line(const std::string& text) {
  std::size_t end = text.find_last_not_of("\n");
  if (end == std::string::npos) return "";
  std::size_t start = text.rfind('\n', end);
  return text.substr(start == std::string::npos ? 0 : start + 1,
                     end + 1 - (start == std::string::npos ? 0 : start + 1));
}

CheckResult finish(Outcome outcome, std::string message, std::string ground = "") {
  return CheckResult{outcome, std::move(message), std::move(ground)};
}

// Hands the ground clauses to quorvel and turns its answer into the outcome;
// `summary` says what the clauses are ("5 instances of 3 clauses").
CheckResult decide(const std::string& text, const std::string& summary,
                   const CheckOptions& options) {
  TempDir dir;
  if (!dir.ok()) return finish(Outcome::kUnusable, "cannot make a temporary directory", text);
  {
    std::ofstream out(dir.file("clauses"), std::ios::binary);
    out << text;
    if (!out.flush())
      return finish(Outcome::kUnusable, "cannot write the ground clauses for quorvel", text);
  }
  Run run = run_quorvel(options.quorvel, dir);
  if (!run.started)
    return finish(Outcome::kUnusable, "cannot run quorvel: " + options.quorvel, text);
  std::string result = last_line(run.out);
  Verdict verdict = run.status == 0 ? read_verdict(run.out) : Verdict::kUnknown;
  switch (verdict) {
    case Verdict::kUnsatisfiable:
      return finish(Outcome::kChecks,
                    "proof checks: the ground " + summary + " are unsatisfiable (" + result + ")",
                    text);
    case Verdict::kSatisfiable:
      return finish(Outcome::kRejected,
                    "NOT A PROOF: the ground " + summary + " are satisfiable (" + result +
                        ")\nquorvel's model:\n" + run.out + "ground clauses:\n" + text,
                    text);
    case Verdict::kUnknown:
      break;
  }
  return finish(Outcome::kUnusable,
                "quorvel gave no verdict (exit status " + std::to_string(run.status) + ")\n" +
                    run.out + run.err,
                text);
}

std::string place(const std::string& file, std::size_t line) {
  return file + ":" + std::to_string(line) + ": ";
}

std::string error_text(const tptp::ConvertError& error) {
  return error.file() + ":" + (error.line() > 0 ? std::to_string(error.line()) + ":" : "") + " " +
         error.what();
}

// With the problem: every leaf taken from a file is that file's clause.
// The problem is read only when there is such a leaf, so that a refutation
// whose leaves all come from clausified fof formulas needs no clause-form
// problem.  `leaf(i)` tells the lines that are not derived.
template <class Leaf>
std::optional<CheckResult> compare_with_problem(const tstp::Refutation& refutation,
                                                const CheckOptions& options, Leaf&& leaf,
                                                std::size_t leaves, std::string& compared_text) {
  if (!options.problem) return std::nullopt;
  const std::vector<tstp::Line>& lines = refutation.lines;
  const tptp::Problem& store = refutation.terms;
  const std::string& file = options.input_name;
  auto reject = [&](const tstp::Line& line, const std::string& message) {
    return finish(Outcome::kRejected, place(file, static_cast<std::size_t>(line.line)) + message);
  };
  auto name_of = [&](std::size_t i) { return lines[i].clause.name.spelling; };
  std::size_t compared = 0;
  tptp::Problem problem;
  std::unordered_multimap<std::string, std::size_t> clauses;
  bool read = false;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    if (!lines[i].cnf || !leaf(i) || lines[i].source != tstp::Source::kFile) continue;
    if (!read) {
      read = true;
      try {
        tptp::read_problem(problem, options.problem_path, tptp::ReadOptions{options.tptp_root},
                           options.problem);
      } catch (const tptp::ConvertError& error) {
        return finish(Outcome::kUnusable, "unusable problem file: " + error_text(error));
      }
      for (std::size_t c = 0; c < problem.clauses.size(); ++c)
        clauses.emplace(problem.clauses[c].name_key, c);
    }
    const tstp::Line& line = lines[i];
    auto [begin, end] = clauses.equal_range(line.file_clause_key);
    if (begin == end)
      return reject(line, name_of(i) + " is taken from clause " + line.file_clause_name +
                              ", which the problem does not have");
    bool same = std::any_of(begin, end, [&](const auto& entry) {
      return tstp::is_variant(store, line.clause, problem, problem.clauses[entry.second]);
    });
    if (!same)
      return reject(line, name_of(i) + " is not the problem's clause " + line.file_clause_name +
                              ": " + tstp::to_string(store, line.clause) + " against " +
                              tstp::to_string(problem, problem.clauses[begin->second]));
    ++compared;
  }
  compared_text = "; " + std::to_string(compared) + " of " + std::to_string(leaves) +
                  " leaves are the problem's clauses, " + std::to_string(leaves - compared) +
                  " not compared (not taken from a file)";
  return std::nullopt;
}

// Clauses made from formulas, and those the equality modification made
// from the problem's, are leaves like the problem's clauses.
bool from_formulas(const tstp::Line& line) {
  return line.rule == "clausify" || line.rule == "negate_conjecture" ||
         line.rule == "equality_modification";
}

// A refutation by saturation: every derived line is replayed from its
// parents by its rule (tools/proof_check/replay.hpp), the last one is $false.
CheckResult check_saturation(const tstp::Refutation& refutation, const CheckOptions& options) {
  const std::vector<tstp::Line>& lines = refutation.lines;
  const tptp::Problem& store = refutation.terms;
  const std::string& file = options.input_name;
  auto reject = [&](const tstp::Line& line, const std::string& message) {
    return finish(Outcome::kRejected, place(file, static_cast<std::size_t>(line.line)) + message);
  };
  std::unordered_map<std::string, std::size_t> by_name;
  for (std::size_t i = 0; i < lines.size(); ++i) by_name.emplace(lines[i].clause.name_key, i);
  const tstp::Line& last = lines.back();
  if (!last.cnf || !last.clause.literals.empty() || last.clause.always_true)
    return reject(last, "the last line must derive $false");
  std::vector<bool> derived(lines.size(), false);
  std::size_t leaves = 0, steps = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const tstp::Line& line = lines[i];
    const std::string& name = line.clause.name.spelling;
    if (line.cnf && line.source == tstp::Source::kTheory &&
        !valid_in_equality_theory(store, line.clause))
      return reject(line, name + " is not valid in the theory of equality: " +
                              tstp::to_string(store, line.clause));
    if (line.source != tstp::Source::kInference || from_formulas(line)) {
      leaves += line.cnf ? 1 : 0;
      continue;
    }
    if (!is_saturation_rule(line.rule))
      return finish(Outcome::kUnusable,
                    "unusable proof: " + place(file, static_cast<std::size_t>(line.line)) +
                        "the rule " + line.rule + " is not one that proof-check checks");
    if (!line.cnf) return reject(line, "a derived line must be a cnf line");
    std::vector<const tstp::Line*> parents;
    for (std::size_t k = 0; k < line.parent_keys.size(); ++k) {
      auto parent = by_name.find(line.parent_keys[k]);
      if (parent == by_name.end())
        return reject(
            line, name + " cites " + line.parent_names[k] + ", which is no line of the refutation");
      if (parent->second >= i)
        return reject(line,
                      name + " cites " + line.parent_names[k] + ", which does not come before it");
      if (!lines[parent->second].cnf)
        return reject(line, name + " cites " + line.parent_names[k] + ", a fof line");
      parents.push_back(&lines[parent->second]);
    }
    const std::string failure = replay_step(refutation, line, parents);
    if (!failure.empty())
      return reject(line, name + " does not replay by " + line.rule + ": " + failure + ": " +
                              tstp::to_string(store, line.clause));
    derived[i] = true;
    ++steps;
  }
  std::string compared_text;
  if (std::optional<CheckResult> bad = compare_with_problem(
          refutation, options, [&](std::size_t i) { return !derived[i]; }, leaves, compared_text))
    return *bad;
  return finish(Outcome::kChecks, "proof checks: " + std::to_string(steps) +
                                      " saturation steps replay from " + std::to_string(leaves) +
                                      " leaves" + compared_text);
}

// The checks of a TSTP refutation, in the order tools/proof_check/README.md
// lists them; each failure names the file and line of the faulty line.
CheckResult check_refutation(std::string_view output, const tstp::BlockPosition& block,
                             const CheckOptions& options) {
  using tstp::Line;
  using tstp::Source;
  const std::string& file = options.input_name;
  if (!block.complete)
    return finish(Outcome::kUnusable,
                  "unusable proof: " + place(file, block.start + 1) +
                      "the refutation has no \"% SZS output end CNFRefutation\" line "
                      "(velkor's output cut off?)");
  tstp::Refutation refutation;
  try {
    refutation = tstp::read_refutation(output, block, file);
  } catch (const tptp::ConvertError& error) {
    return finish(Outcome::kUnusable, "unusable proof: " + error_text(error));
  }
  const std::vector<Line>& lines = refutation.lines;
  const tptp::Problem& store = refutation.terms;
  auto reject = [&](const Line& line, const std::string& message) {
    return finish(Outcome::kRejected, place(file, static_cast<std::size_t>(line.line)) + message);
  };
  if (lines.empty())
    return finish(Outcome::kRejected,
                  place(file, block.start + 1) + "the refutation holds no lines");

  std::unordered_map<std::string, std::size_t> by_name;
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (!by_name.emplace(lines[i].clause.name_key, i).second)
      return reject(lines[i], "the name " + lines[i].clause.name.spelling +
                                  " is given to an earlier line too");
  auto name_of = [&](std::size_t i) { return lines[i].clause.name.spelling; };
  if (is_saturation_rule(lines.back().rule)) return check_saturation(refutation, options);

  // Both final rules claim the same: the instances cited are propositionally
  // unsatisfiable (a closed tableau's, or a set of ground instances).
  auto refutes = [](const std::string& rule) {
    return rule == "connection_tableau" || rule == "propositional_refutation";
  };
  const Line& last = lines.back();
  if (!last.cnf || !last.clause.literals.empty() || last.clause.always_true ||
      last.source != Source::kInference || !refutes(last.rule))
    return reject(last, "the last line must derive $false by inference(connection_tableau, ...)");

  // Every line before the last is a leaf, an instance or a fof formula.
  std::vector<bool> instance(lines.size(), false);
  std::size_t leaves = 0, instances = 0;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    const Line& line = lines[i];
    // Leaves of equality theory must be valid in it; fof lines and the
    // clauses made from them are not checked.
    if (line.cnf && line.source == Source::kTheory && !valid_in_equality_theory(store, line.clause))
      return reject(line, name_of(i) + " is not valid in the theory of equality: " +
                              tstp::to_string(store, line.clause));
    if (line.source == Source::kInference && !from_formulas(line)) {
      if (refutes(line.rule))
        return reject(line, "only the last line may derive $false by " + line.rule);
      if (line.rule != "instantiation")
        return finish(Outcome::kUnusable,
                      "unusable proof: " + place(file, static_cast<std::size_t>(line.line)) +
                          "the rule " + line.rule + " is not one that proof-check checks");
      if (!line.cnf) return reject(line, "an instantiation line must be a cnf line");
      if (line.parent_keys.size() != 1)
        return reject(line, "an instantiation line must cite exactly one parent");
      auto parent = by_name.find(line.parent_keys[0]);
      if (parent == by_name.end())
        return reject(line, name_of(i) + " cites " + line.parent_names[0] +
                                ", which is no line of the refutation");
      if (parent->second >= i)
        return reject(line, name_of(i) + " cites " + line.parent_names[0] +
                                ", which does not come before it");
      const Line& pattern = lines[parent->second];
      if (!pattern.cnf)
        return reject(line, name_of(i) + " cites " + line.parent_names[0] + ", a fof line");
      if (!tstp::is_instance(store, pattern.clause, line.clause))
        return reject(line, name_of(i) + " is not an instance of " + name_of(parent->second) +
                                ": " + tstp::to_string(store, line.clause) + " against " +
                                tstp::to_string(store, pattern.clause));
      instance[i] = true;
      ++instances;
    } else if (line.cnf) {
      ++leaves;
    }
  }

  // The $false line rests on exactly the instances, and on clauses of
  // equality theory (the equality steps of the tableau).
  std::vector<bool> cited(lines.size(), false);
  std::vector<const tptp::Clause*> theory_clauses;
  for (std::size_t k = 0; k < last.parent_keys.size(); ++k) {
    auto parent = by_name.find(last.parent_keys[k]);
    const bool theory = parent != by_name.end() && lines[parent->second].cnf &&
                        lines[parent->second].source == Source::kTheory;
    if (parent == by_name.end() || (!instance[parent->second] && !theory))
      return reject(last, "the $false line cites " + last.parent_names[k] +
                              ", which is not an instantiation line");
    if (theory && !cited[parent->second]) theory_clauses.push_back(&lines[parent->second].clause);
    cited[parent->second] = true;
  }
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (instance[i] && !cited[i])
      return reject(last, "the $false line does not cite the instance " + name_of(i));

  std::string compared_text;
  if (std::optional<CheckResult> bad = compare_with_problem(
          refutation, options, [&](std::size_t i) { return !instance[i]; }, leaves, compared_text))
    return *bad;

  std::vector<const tptp::Clause*> ground_set;
  std::set<std::size_t> parents;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!instance[i]) continue;
    ground_set.push_back(&lines[i].clause);
    parents.insert(by_name.at(lines[i].parent_keys[0]));
  }
  ground_set.insert(ground_set.end(), theory_clauses.begin(), theory_clauses.end());
  std::string text = tstp::general_syntax(store, ground_set);
  CheckResult result = decide(
      text,
      std::to_string(instances) + " instances of " + std::to_string(parents.size()) + " clauses" +
          (theory_clauses.empty()
               ? std::string()
               : " and " + std::to_string(theory_clauses.size()) + " clauses of equality theory"),
      options);
  if (result.outcome == Outcome::kChecks) result.message += compared_text;
  return result;
}

}  // namespace

CheckResult check_proof(std::string_view velkor_output, const CheckOptions& options) {
  tstp::BlockPosition block = tstp::find_refutation(velkor_output);
  if (block.found) return check_refutation(velkor_output, block, options);

  UsedClauses used = parse_used_clauses(velkor_output);
  if (!used.ok)
    return finish(Outcome::kUnusable,
                  "unusable proof: " +
                      (used.line > 0 ? place(options.input_name, used.line) : std::string()) +
                      used.error);

  if (options.problem) {
    ProblemClauses problem = parse_problem(*options.problem);
    if (!problem.ok) return finish(Outcome::kUnusable, "unusable problem file: " + problem.error);
    for (const UsedClause& c : used.clauses) {
      std::string name = "clause " + std::to_string(c.number);
      if (c.number < 1 || static_cast<std::size_t>(c.number) > problem.clauses.size())
        return finish(Outcome::kRejected, name + " is not a clause of the problem (it has " +
                                              std::to_string(problem.clauses.size()) + ")");
      const Clause& original = problem.clauses[static_cast<std::size_t>(c.number) - 1];
      if (original != c.clause)
        return finish(Outcome::kRejected, name + " is printed as " + to_string(c.clause) +
                                              " but the problem has " + to_string(original));
    }
  }

  std::vector<Clause> ground_set;
  std::size_t instances = 0;
  for (const UsedClause& c : used.clauses) {
    for (const Clause& instance : c.instances) {
      if (!is_instance(c.clause, instance))
        return finish(Outcome::kRejected, to_string(instance) + " is not an instance of clause " +
                                              std::to_string(c.number) + ": " +
                                              to_string(c.clause));
      ground_set.push_back(ground(instance));
      ++instances;
    }
  }
  return decide(general_syntax(ground_set),
                std::to_string(instances) + " instances of " + std::to_string(used.clauses.size()) +
                    " clauses",
                options);
}

}  // namespace proof_check
