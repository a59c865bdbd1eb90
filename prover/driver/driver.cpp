#include "prover/driver/driver.hpp"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "prover/driver/problem_file.hpp"
#include "prover/driver/tstp.hpp"
#include "prover/prover.hpp"

namespace velkor {
namespace {

// Whether a failed search (no step cut off by a bound) shows that the
// clause set is satisfiable.  Pruning by matings and the equality
// differences are not known to keep the search complete, so after them a
// failure only means the search gave up.
bool search_is_complete(const Prover& p) {
  return !p.matings_pruning && !p.equality;
}

const char* szs_value(const Prover& p, bool conjecture) {
  switch (p.outcome) {
    case Outcome::kProof:
      return conjecture ? "Theorem" : "Unsatisfiable";
    case Outcome::kSatisfiable:
      if (!search_is_complete(p)) return "GaveUp";
      return conjecture ? "CounterSatisfiable" : "Satisfiable";
    case Outcome::kBoundReached:
      return "GaveUp";
    case Outcome::kTimeout:
      return "Timeout";
    case Outcome::kOptionError:
    case Outcome::kUnsupported:
      return "Error";
    case Outcome::kFileError:
      return "InputError";
    case Outcome::kSyntaxError:
      return "SyntaxError";
    case Outcome::kNone:
      break;
  }
  return "Error";
}

class Run {
 public:
  Run(Prover& prover, std::string path, bool szs)
      : p_(prover), szs_(szs), source_{path, problem_name(path), nullptr} {}

  int single(bool tptp) {
    int status = 0;
    try {
      if (tptp) {
        if (!read_tptp()) return finish(status_of_input_error_);
      } else {
        p_.read_tptp(source_.problem_path);
      }
      p_.cpu_deadline = p_.time_limit;
      // A search stopped by the clock may be very deep (a large first depth
      // bound): end the process from where it stands.
      p_.on_timeout = [this](Prover&) {
        int status = finish(kTimeoutStatus);
        std::fflush(stdout);
        std::_Exit(status);
      };
      if (szs_ && p_.proof_output) {
        p_.record_derivations = true;
        p_.proof_printer = [this](Prover& q) { print_tstp_refutation(q, source_); };
      }
      p_.prepare_and_search();
    } catch (const ProverExit& e) {
      status = e.status;
    }
    return finish(status);
  }

  // Ends the run: the time-limit line, the SZS status line, the flush.
  int finish(int status) {
    if (p_.outcome == Outcome::kTimeout) p_.print("\n     ***** TIME LIMIT REACHED *****\n");
    if (szs_) {
      p_.print("% SZS status ");
      p_.print(szs_value(p_, has_conjecture()));
      p_.print(" for " + source_.problem_name + "\n");
    }
    p_.flush();
    return status;
  }

 private:
  bool has_conjecture() const { return false; }

  // Reads the TPTP problem and hands its clauses to the prover.  False when
  // the problem cannot be used; an empty clause is a proof by itself.
  bool read_tptp() {
    p_.print(source_.problem_path + ": Trying to parse\n");
    p_.flush();
    try {
      tptp_ = read_tptp_problem(source_.problem_path);
    } catch (const tptp::ConvertError& error) {
      std::fprintf(p_.err, "velkor: %s\n", error.where_and_what().c_str());
      std::fflush(p_.err);
      switch (error.kind()) {
        case tptp::ConvertError::Kind::kSyntax:
          p_.outcome = Outcome::kSyntaxError;
          status_of_input_error_ = 255;
          break;
        case tptp::ConvertError::Kind::kInput:
          p_.outcome = Outcome::kFileError;
          status_of_input_error_ = 1;
          break;
        case tptp::ConvertError::Kind::kInappropriate:
          p_.outcome = Outcome::kUnsupported;
          status_of_input_error_ = 1;
          break;
      }
      return false;
    }
    source_.tptp = tptp_.get();
    if (tptp_->empty_clause) {
      const tptp::Clause& clause = tptp_->problem.clauses[*tptp_->empty_clause];
      p_.print("Input clause " + tptp::tptp_text(clause.name) +
               " is empty: the problem is refuted without inferences.\n");
      p_.print("\n     ***** PROOF WITH 0 INFERENCES FOUND *****\n\n");
      if (p_.proof_output) print_empty_clause_refutation(p_, source_);
      p_.outcome = Outcome::kProof;
      status_of_input_error_ = 0;
      return false;
    }
    p_.read_problem_text(source_.problem_path, tptp_->written.text, false);
    p_.display_statistics();
    p_.flush();
    return true;
  }

  Prover& p_;
  bool szs_;
  ProofSource source_;
  std::unique_ptr<TptpProblem> tptp_;
  int status_of_input_error_ = 1;
};

}  // namespace

int run_velkor(const std::vector<std::string>& words) {
  std::vector<std::string> args(words.begin() + (words.empty() ? 0 : 1), words.end());
  auto prover = std::make_unique<Prover>();
  Prover& p = *prover;
  const std::string path = args.empty() ? std::string() : args.back();
  const bool tptp = !path.empty() && detect_format(path) == ProblemFormat::kTptp;
  try {
    if (p.update_defaults(args) >= args.size()) {
      p.print("Abort: error in parameter list\n");
      p.end_run(Outcome::kOptionError, 1);
    }
  } catch (const ProverExit& e) {
    // Without a problem name there is nothing to give a status for.
    if (path.empty()) return e.status;
    return Run(p, path, tptp || p.szs_output).finish(e.status);
  }
  return Run(p, path, tptp || p.szs_output).single(tptp);
}

}  // namespace velkor
