// How a run of velkor, or one slice of a schedule, ended, and everything
// that follows from that in one place: the SZS status, the exit status,
// and the exit status by which a slice run in a child process tells the
// parent.  Every engine's answer is turned into a SliceResult; the
// sequential schedule, the parallel one and a single run report it alike.
#pragma once

#include <cstdint>
#include <string>

namespace velkor {

enum class Verdict : std::uint8_t {
  kRefutation,     // a proof: tableau, ground instances, saturation, an empty clause
  kSatisfiable,    // a complete search failed, or a model was found and checked
  kGaveUp,         // no answer: a bound reached, an incomplete search exhausted, too large
  kTimeout,        // the CPU time of the slice (or of the run) is used up
  kMemoryOut,      // memory or stack ran out
  kOptionError,    // Abort: error in parameter list
  kInputError,     // a missing or unreadable file or include
  kSyntaxError,    // the problem does not follow its language
  kInappropriate,  // input or a request the system does not handle
};

struct SliceResult {
  Verdict verdict = Verdict::kGaveUp;
  // For a refutation of a problem with a conjecture: whether it rests on a
  // clause of the conjecture (Theorem) or not (ContradictoryAxioms).
  bool uses_conjecture = true;
  std::string output;  // the block printed after the SZS status line
  // Why a slice gave up, when a schedule says so ("incomplete search
  // exhausted"); empty when it says nothing.
  std::string note;
};

// Whether the verdict ends the run, an answer or an error, rather than
// handing over to the next slice.
bool ends_run(Verdict verdict);

// The SZS status of a result for a problem with or without a conjecture.
const char* szs_status(const SliceResult& result, bool conjecture);

// 0 after an answer or when the search gave up, 1 after an error of the
// command line or the input, 2 at the time limit, 3 out of memory, 255
// after a syntax error.
// (the tableau's own statuses, kTimeoutStatus and kMemoryOutStatus).
int exit_status(Verdict verdict);

// A slice in a child process ends with the run's exit status when it
// answered, else with one of these, which no run ends with.
inline constexpr int kChildGaveUp = 100;
inline constexpr int kChildTimeUp = 101;
int child_exit_status(Verdict verdict);
// Whether a child's exit status (-1: killed by a signal) is an answer whose
// output the parent prints; a child out of memory has none.
bool child_answered(int code);

}  // namespace velkor
