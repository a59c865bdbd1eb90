#include "tools/proof_check/check.hpp"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "tools/proof_check/proof.hpp"

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

}  // namespace

CheckResult check_proof(std::string_view velkor_output, const CheckOptions& options) {
  UsedClauses used = parse_used_clauses(velkor_output);
  if (!used.ok)
    return finish(Outcome::kUnusable,
                  "unusable proof: " +
                      (used.line > 0 ? options.input_name + ":" + std::to_string(used.line) + ": "
                                     : std::string()) +
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
  std::string text = general_syntax(ground_set);
  std::string summary = std::to_string(instances) + " instances of " +
                        std::to_string(used.clauses.size()) + " clauses";

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

}  // namespace proof_check
