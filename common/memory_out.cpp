#include "common/memory_out.hpp"

#include <pthread.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace common {
namespace {

MemoryOutReport installed_report = nullptr;
int exit_status = 0;
std::size_t memory_limit = 0;
std::atomic<std::size_t> memory_in_use{0};

void new_handler() {
  out_of_memory();
}

}  // namespace

thread_local const char* stack_floor = nullptr;

void on_memory_out(MemoryOutReport report, int status) {
  installed_report = report;
  exit_status = status;
  std::set_new_handler(report != nullptr ? new_handler : nullptr);
}

void out_of_memory() {
  if (installed_report == nullptr) throw std::bad_alloc();
  installed_report();
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(exit_status);
}

void set_memory_limit(std::size_t bytes) {
  memory_limit = bytes;
}

bool count_allocation(std::size_t bytes) {
  std::size_t in_use = memory_in_use.fetch_add(bytes, std::memory_order_relaxed) + bytes;
  if (memory_limit == 0 || in_use <= memory_limit) return true;
  memory_in_use.fetch_sub(bytes, std::memory_order_relaxed);
  return false;
}

void count_release(std::size_t bytes) {
  memory_in_use.fetch_sub(bytes, std::memory_order_relaxed);
}

std::size_t memory_counted() {
  return memory_in_use.load(std::memory_order_relaxed);
}

void watch_stack(unsigned long margin) {
  pthread_attr_t attr;
  if (pthread_getattr_np(pthread_self(), &attr) != 0) return;
  void* low = nullptr;
  std::size_t size = 0;
  if (pthread_attr_getstack(&attr, &low, &size) == 0 && size > 2 * margin)
    stack_floor = static_cast<const char*>(low) + margin;
  pthread_attr_destroy(&attr);
}

}  // namespace common
