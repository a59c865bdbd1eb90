#include "prover/driver/portfolio.hpp"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <vector>

namespace velkor {
namespace {

// The children alive, for the signal handlers (which may not allocate).
constexpr int kMaxChildren = 1024;
volatile sig_atomic_t child_count = 0;
pid_t child_pids[kMaxChildren];

const int kForwarded[] = {SIGTERM, SIGINT, SIGHUP, SIGXCPU};

// A harness that stops velkor stops its searches too: kill every child,
// then die of the signal as velkor would have without children.
void kill_children_and_die(int sig) {
  for (int i = 0; i < child_count; ++i)
    if (child_pids[i] > 0) kill(child_pids[i], SIGKILL);
  signal(sig, SIG_DFL);
  raise(sig);
}

struct Child {
  pid_t pid;
  int job;
  std::FILE* buffer;
};

void forget(pid_t pid) {
  for (int i = 0; i < child_count; ++i)
    if (child_pids[i] == pid) {
      child_pids[i] = child_pids[child_count - 1];
      child_count = child_count - 1;
      return;
    }
}

// In the child: die with the parent, keep to the CPU budget even if the
// search's own clock checks were to miss it, keep to its part of the memory.
void enter_child(pid_t parent, double budget, std::int64_t memory_mb) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  // The parent may have died before the request took effect.
  if (getppid() != parent) _exit(kChildGaveUp);
  for (int sig : kForwarded) signal(sig, SIG_DFL);
  rlimit cpu;
  if (getrlimit(RLIMIT_CPU, &cpu) == 0) {
    const rlim_t soft = static_cast<rlim_t>(std::ceil(budget)) + 1;
    if (cpu.rlim_cur == RLIM_INFINITY || soft < cpu.rlim_cur) cpu.rlim_cur = soft;
    if (cpu.rlim_max != RLIM_INFINITY && cpu.rlim_cur > cpu.rlim_max) cpu.rlim_cur = cpu.rlim_max;
    setrlimit(RLIMIT_CPU, &cpu);
  }
  if (memory_mb > 0) {
    rlimit as;
    if (getrlimit(RLIMIT_AS, &as) == 0) {
      const rlim_t bytes = static_cast<rlim_t>(memory_mb) << 20;
      if (as.rlim_cur == RLIM_INFINITY || bytes < as.rlim_cur) as.rlim_cur = bytes;
      setrlimit(RLIMIT_AS, &as);
    }
  }
}

// Copies a finished child's buffer to standard output.
void print_buffer(std::FILE* buffer) {
  std::fflush(stdout);
  std::rewind(buffer);
  char block[1 << 16];
  for (std::size_t n; (n = std::fread(block, 1, sizeof block, buffer)) > 0;)
    std::fwrite(block, 1, n, stdout);
  std::fflush(stdout);
}

}  // namespace

double monotonic_seconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::int64_t child_memory_mb(std::int64_t total_mb, int children) {
  if (total_mb <= 0 || children <= 1) return total_mb;
  return std::max<std::int64_t>(1, total_mb / children);
}

void reap_children(PortfolioEnd& end) {
  for (pid_t pid : end.dying) waitpid(pid, nullptr, 0);
  end.dying.clear();
  child_count = 0;
}

bool run_portfolio(const PortfolioPlan& plan, PortfolioEnd& end) {
  const int cores = std::min(plan.cores, kMaxChildren);
  const pid_t parent = getpid();
  const std::int64_t memory_mb = child_memory_mb(plan.memory_mb, std::min(cores, plan.jobs));
  // From here on a harness's signal reaches the children too.
  struct sigaction forward = {};
  forward.sa_handler = kill_children_and_die;
  sigfillset(&forward.sa_mask);
  struct sigaction previous[std::size(kForwarded)];
  for (std::size_t k = 0; k < std::size(kForwarded); ++k)
    sigaction(kForwarded[k], &forward, &previous[k]);

  std::vector<Child> running;
  int next = 0;
  bool failed = false;
  auto elapsed = [&] { return monotonic_seconds() - plan.wall_start; };
  auto stop_all = [&] {
    // A killed search with a large memory takes a while to be torn down:
    // the answer is printed first, and the caller reaps them after it.
    for (Child& c : running) kill(c.pid, SIGKILL);
    for (Child& c : running) {
      end.dying.push_back(c.pid);
      std::fclose(c.buffer);
      if (end.winner < 0 && plan.no_answer) plan.no_answer(c.job, -1);
    }
    running.clear();
  };
  while (true) {
    while (static_cast<int>(running.size()) < cores && next < plan.jobs) {
      const double budget = plan.budget(next, elapsed());
      if (budget <= 0) {
        next = plan.jobs;
        break;
      }
      std::FILE* buffer = std::tmpfile();
      std::fflush(stdout);
      std::fflush(stderr);
      const pid_t pid = buffer ? fork() : -1;
      if (pid == 0) {
        enter_child(parent, budget, memory_mb);
        dup2(fileno(buffer), STDOUT_FILENO);
        const int status = plan.run_child(next, budget);
        std::fflush(stdout);
        _exit(status);
      }
      if (pid < 0) {
        if (buffer) std::fclose(buffer);
        // Without a first child, the caller runs the schedule in-process;
        // later, the jobs already running have to do.
        failed = running.empty() && next == 0;
        next = plan.jobs;
        break;
      }
      child_pids[child_count] = pid;
      child_count = child_count + 1;
      running.push_back({pid, next, buffer});
      ++next;
    }
    if (running.empty()) break;
    // Reap whatever has ended; the first definite answer wins.
    int status;
    for (pid_t pid; (pid = waitpid(-1, &status, WNOHANG)) > 0;) {
      std::size_t k = 0;
      while (k < running.size() && running[k].pid != pid) ++k;
      if (k == running.size()) continue;
      Child child = running[k];
      running.erase(running.begin() + static_cast<std::ptrdiff_t>(k));
      forget(pid);
      const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      // A child out of memory or killed has no answer; the others go on.
      const bool answer = child_answered(code);
      if (answer && end.winner < 0) {
        end.winner = child.job;
        end.status = code;
        stop_all();
        print_buffer(child.buffer);
      } else if (end.winner < 0 && plan.no_answer) {
        plan.no_answer(child.job, code);
      }
      std::fclose(child.buffer);
    }
    if (end.winner >= 0) break;
    const double left = plan.wall_seconds > 0 ? plan.wall_seconds - elapsed() : 1;
    if (left <= 0) {
      end.wall_out = true;
      stop_all();
      break;
    }
    if (running.empty()) continue;
    // The search runs on a thread of its own, so SIGCHLD may go to another
    // thread: look again every few milliseconds instead of waiting for it.
    const double nap = std::min(left, 0.005);
    timespec pause{0, static_cast<long>(nap * 1e9)};
    nanosleep(&pause, nullptr);
  }
  for (std::size_t k = 0; k < std::size(kForwarded); ++k)
    sigaction(kForwarded[k], &previous[k], nullptr);
  return !failed;
}

}  // namespace velkor
