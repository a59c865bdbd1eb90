// The whole check of one velkor proof: read the used clauses (velkor's
// "USED CLAUSES" block, or a TSTP refutation between SZS markers),
// optionally compare them with the problem's clauses, confirm that every
// listed instance is an instance of its clause, ground the instances and let
// quorvel decide whether the ground set is unsatisfiable.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace proof_check {

enum class Outcome {
  kChecks,    // the ground instances are unsatisfiable
  kRejected,  // the proof is wrong: satisfiable instances, or a non-instance
  kUnusable,  // no proof to check, unreadable text, or quorvel did not answer
};

struct CheckResult {
  Outcome outcome = Outcome::kUnusable;
  std::string message;         // one or more lines explaining the outcome
  std::string ground_clauses;  // the set handed to quorvel, in its general syntax
};

struct CheckOptions {
  std::string quorvel;                        // path of the quorvel executable
  std::optional<std::string> problem;         // text of the problem file, when known
  std::string input_name = "standard input";  // names the proof in messages
  std::string problem_path = {};  // the problem file, for a TSTP refutation (includes, messages)
  std::optional<std::string> tptp_root =
      std::nullopt;  // where its includes are resolved, else near the file
};

CheckResult check_proof(std::string_view velkor_output, const CheckOptions& options);

}  // namespace proof_check
