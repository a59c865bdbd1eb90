// Branching: the unassigned variable of highest activity, with its saved
// phase.
//
// Every variable met in conflict analysis gains the current increment, and
// the increment grows by 1/decay after each conflict, which decays all
// activities at once without touching them (rescaled before overflow).  The
// decay starts at 0.8, so the search follows the latest conflicts closely
// at first, and settles to 0.95.  A binary max-heap yields the most active
// variable; assigned variables are left in it and skipped when popped, and
// backtracking puts the unassigned ones back.
#include "modelgen/cdcl/internal.hpp"

namespace modelgen::cdcl {
namespace {

constexpr double kRescaleAbove = 1e100;
constexpr double kFinalDecay = 0.95;
constexpr std::int64_t kDecayStep = 5000;  // conflicts between decay increases

}  // namespace

void Internal::bump_variable(std::uint32_t var) {
  if ((activity[var] += activity_increment) > kRescaleAbove) {
    for (double& a : activity) a *= 1 / kRescaleAbove;
    activity_increment *= 1 / kRescaleAbove;
  }
  if (queue.positions[var] >= 0) heap_up(queue.positions[var]);
}

void Internal::decay_activities() {
  activity_increment /= activity_decay;
  if (conflicts % kDecayStep == 0 && activity_decay < kFinalDecay) activity_decay += 0.01;
}

void Internal::heap_insert(std::uint32_t var) {
  queue.positions[var] = static_cast<std::int32_t>(queue.heap.size());
  queue.heap.push_back(var);
  heap_up(queue.positions[var]);
}

void Internal::heap_up(std::int32_t position) {
  auto i = static_cast<std::size_t>(position);
  std::uint32_t var = queue.heap[i];
  while (i > 0) {
    std::size_t parent = (i - 1) / 2;
    std::uint32_t above = queue.heap[parent];
    if (activity[above] >= activity[var]) break;
    queue.heap[i] = above;
    queue.positions[above] = static_cast<std::int32_t>(i);
    i = parent;
  }
  queue.heap[i] = var;
  queue.positions[var] = static_cast<std::int32_t>(i);
}

void Internal::heap_down(std::int32_t position) {
  auto i = static_cast<std::size_t>(position);
  const std::size_t size = queue.heap.size();
  std::uint32_t var = queue.heap[i];
  for (;;) {
    std::size_t child = 2 * i + 1;
    if (child >= size) break;
    if (child + 1 < size && activity[queue.heap[child + 1]] > activity[queue.heap[child]]) ++child;
    if (activity[queue.heap[child]] <= activity[var]) break;
    queue.heap[i] = queue.heap[child];
    queue.positions[queue.heap[i]] = static_cast<std::int32_t>(i);
    i = child;
  }
  queue.heap[i] = var;
  queue.positions[var] = static_cast<std::int32_t>(i);
}

std::uint32_t Internal::heap_pop() {
  std::uint32_t top = queue.heap.front();
  std::uint32_t last = queue.heap.back();
  queue.heap.pop_back();
  queue.positions[top] = -1;
  if (!queue.heap.empty()) {
    queue.heap.front() = last;
    queue.positions[last] = 0;
    heap_down(0);
  }
  return top;
}

// The decision literal, or kNoLit (all ones) when every variable is assigned.
Lit Internal::next_decision() {
  while (!queue.heap.empty()) {
    std::uint32_t var = heap_pop();
    if (values[make_lit(var, false)] == 0) return make_lit(var, phases[var] < 0);
  }
  return 0xffffffffu;
}

}  // namespace modelgen::cdcl
