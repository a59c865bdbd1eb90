// Option sets at once: with --cores N, up to N searches of the schedule run
// in child processes.  Each child writes its output to a buffer of its own;
// the first child with a definite answer wins, its buffer alone is copied
// to standard output, and the others are killed at once.  No child
// outlives velkor: each asks the kernel to kill it when its parent dies
// (also by SIGKILL), and the parent kills them before it dies of a signal a
// harness sends (SIGTERM, SIGINT, SIGHUP, SIGXCPU).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "prover/driver/verdict.hpp"

namespace velkor {

// What the parent learns of the run.
struct PortfolioEnd {
  int winner = -1;         // index of the job whose answer was printed, -1 none
  int status = 0;          // its exit status
  bool wall_out = false;   // the wall-clock limit ended the run
  std::vector<int> dying;  // children killed and not yet waited for
};

struct PortfolioPlan {
  int jobs = 0;                // slices of the schedule, started in order
  int cores = 1;               // at most this many at once
  double wall_seconds = 0;     // the whole run ends by then (since `wall_start`); 0: no limit
  double wall_start = 0;       // monotonic clock reading at the start of velkor
  std::int64_t memory_mb = 0;  // the memory limit of the whole run; 0: none
  // The CPU seconds job i may use when it starts `elapsed` seconds into the
  // run; at most 0 means it is not started.
  std::function<double(int i, double elapsed)> budget;
  // Runs job i in the child with its budget and returns the child's exit
  // status: the run's own status after a definite answer, kChildGaveUp or
  // kChildTimeUp otherwise.  Its standard output goes to the child's buffer.
  std::function<int(int i, double budget)> run_child;
  // Called in the parent for every job that ended without an answer, with
  // its exit status (-1 when killed by a signal).
  std::function<void(int i, int code)> no_answer;
};

// Runs the plan; returns once a child has answered, every job has ended,
// or the wall-clock limit is reached.  False (and nothing started) when the
// children cannot be set up; the caller then runs the schedule itself.
bool run_portfolio(const PortfolioPlan& plan, PortfolioEnd& end);

// Waits for the children that were killed once velkor has printed its
// answer: they are gone when velkor ends.
void reap_children(PortfolioEnd& end);

// The memory limit of one child when `total_mb` is shared by `children`
// running at once (0: no limit).
std::int64_t child_memory_mb(std::int64_t total_mb, int children);

double monotonic_seconds();

}  // namespace velkor
