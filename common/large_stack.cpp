#include "common/large_stack.hpp"

#include <pthread.h>

namespace common {
namespace {

struct Job {
  const std::function<int()>* work;
  int result;
};

void* run_job(void* arg) {
  auto* job = static_cast<Job*>(arg);
  job->result = (*job->work)();
  return nullptr;
}

}  // namespace

int run_with_large_stack(const std::function<int()>& work, std::size_t stack_bytes) {
  Job job{&work, 0};
  pthread_attr_t attr;
  if (pthread_attr_init(&attr) != 0) return work();
  pthread_t thread;
  bool started = pthread_attr_setstacksize(&attr, stack_bytes) == 0 &&
                 pthread_create(&thread, &attr, run_job, &job) == 0;
  pthread_attr_destroy(&attr);
  if (!started) return work();
  pthread_join(thread, nullptr);
  return job.result;
}

}  // namespace common
