#include "prover/driver/verdict.hpp"

#include "prover/prover.hpp"

namespace velkor {

bool ends_run(Verdict verdict) {
  switch (verdict) {
    case Verdict::kGaveUp:
    case Verdict::kTimeout:
    case Verdict::kMemoryOut:
      return false;
    default:
      return true;
  }
}

const char* szs_status(const SliceResult& result, bool conjecture) {
  switch (result.verdict) {
    case Verdict::kRefutation:
      if (!conjecture) return "Unsatisfiable";
      return result.uses_conjecture ? "Theorem" : "ContradictoryAxioms";
    case Verdict::kSatisfiable:
      return conjecture ? "CounterSatisfiable" : "Satisfiable";
    case Verdict::kGaveUp:
      return "GaveUp";
    case Verdict::kTimeout:
      return "Timeout";
    case Verdict::kMemoryOut:
      return "MemoryOut";
    case Verdict::kOptionError:
      return "Error";
    case Verdict::kInputError:
      return "InputError";
    case Verdict::kSyntaxError:
      return "SyntaxError";
    case Verdict::kInappropriate:
      return "Inappropriate";
  }
  return "Error";
}

int exit_status(Verdict verdict) {
  switch (verdict) {
    case Verdict::kRefutation:
    case Verdict::kSatisfiable:
    case Verdict::kGaveUp:
      return 0;
    case Verdict::kTimeout:
      return kTimeoutStatus;
    case Verdict::kMemoryOut:
      return kMemoryOutStatus;
    case Verdict::kSyntaxError:
      return 255;
    case Verdict::kOptionError:
    case Verdict::kInputError:
    case Verdict::kInappropriate:
      return 1;
  }
  return 1;
}

int child_exit_status(Verdict verdict) {
  if (ends_run(verdict)) return exit_status(verdict);
  return verdict == Verdict::kGaveUp ? kChildGaveUp : kChildTimeUp;
}

bool child_answered(int code) {
  return code >= 0 && code != kChildGaveUp && code != kChildTimeUp && code != kTimeoutStatus &&
         code != kMemoryOutStatus;
}

}  // namespace velkor
