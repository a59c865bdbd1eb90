#include "common/large_stack.hpp"

#include <pthread.h>
#include <sys/resource.h>

#include <algorithm>

#include "common/memory_out.hpp"

namespace common {
namespace {

struct Job {
  const std::function<int()>* work;
  std::size_t stack_bytes;
  int result;
};

// Room left below the last check of the stack, for the work of one step.
unsigned long margin_for(std::size_t stack_bytes) {
  return static_cast<unsigned long>(std::max<std::size_t>(std::size_t{1} << 20, stack_bytes / 32));
}

void* run_job(void* arg) {
  auto* job = static_cast<Job*>(arg);
  watch_stack(margin_for(job->stack_bytes));
  job->result = (*job->work)();
  return nullptr;
}

// Under a limit of the address space (as clusters set with ulimit -v), a
// stack reservation of its own size could not be made, or would leave no
// room for the records: take a quarter of the limit then.
std::size_t fitting(std::size_t stack_bytes) {
  rlimit limit;
  if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return stack_bytes;
  std::size_t quarter = static_cast<std::size_t>(limit.rlim_cur / 4);
  return std::max<std::size_t>(std::min(stack_bytes, quarter), std::size_t{16} << 20);
}

}  // namespace

int run_with_large_stack(const std::function<int()>& work, std::size_t stack_bytes) {
  for (std::size_t bytes = fitting(stack_bytes); bytes >= (std::size_t{8} << 20); bytes /= 2) {
    Job job{&work, bytes, 0};
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0) break;
    pthread_t thread;
    bool started = pthread_attr_setstacksize(&attr, bytes) == 0 &&
                   pthread_create(&thread, &attr, run_job, &job) == 0;
    pthread_attr_destroy(&attr);
    if (!started) continue;
    pthread_join(thread, nullptr);
    return job.result;
  }
  watch_stack(margin_for(std::size_t{8} << 20));
  return work();
}

}  // namespace common
