// The passive set and the choice of the given clause.
//
// Picks alternate between two queues over the same clauses: by priority
// (light clauses first, those derived from the conjecture lighter still)
// and by age, the latter so that every clause is picked eventually, which
// the completeness of the loop rests on.  Near the memory bound the
// heaviest half of the passive set is dropped; from then on a saturated
// set no longer shows a model.
#include <time.h>

#include <algorithm>

#include "common/memory_out.hpp"
#include "prover/saturation/state.hpp"

namespace velkor::saturation {
namespace {

// Heap order: the smallest key (then the oldest) on top.
bool after(const PassiveEntry& a, const PassiveEntry& b) {
  return a.key != b.key ? a.key > b.key : a.id > b.id;
}

bool live(const PassiveEntry& e) {
  return e.clause->id == e.id && e.clause->state == ClauseState::kPassive;
}

double cpu_seconds() {
  timespec now;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace

bool Saturation::out_of_time() {
  if (!timed_out && settings.cpu_deadline > 0 && cpu_seconds() >= settings.cpu_deadline)
    timed_out = true;
  return timed_out;
}

void Saturation::keep(Clause* c) {
  if ((++polls & 255) == 0) {
    out_of_time();
    if (settings.memory_mb > 0 &&
        common::memory_counted() > static_cast<std::size_t>(settings.memory_mb) * (1u << 20))
      drop_passive();
  }
  if (!forward_simplify(c)) {
    free_clause(c);
    return;
  }
  if (c->empty()) {
    empty_clause = c;
    c->state = ClauseState::kRetired;
    return;
  }
  if (strategy.max_weight > 0 && c->weight > strategy.max_weight) {
    discard("a clause above the weight limit");
    free_clause(c);
    return;
  }
  c->priority = priority_of(c);
  c->state = ClauseState::kPassive;
  by_weight.push_back(PassiveEntry{c->priority, c->id, c});
  std::push_heap(by_weight.begin(), by_weight.end(), after);
  by_age.push_back(PassiveEntry{0, c->id, c});
  ++passive_count_;
  ++stats.kept;
}

Clause* Saturation::next_given() {
  const std::int64_t cycle = std::max<std::int64_t>(strategy.weight_picks, 0) +
                             std::max<std::int64_t>(strategy.age_picks, 0);
  const bool weight_first = cycle == 0 || pick_count % cycle < strategy.weight_picks;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const bool from_weight = (attempt == 0) == weight_first;
    if (from_weight) {
      while (!by_weight.empty()) {
        std::pop_heap(by_weight.begin(), by_weight.end(), after);
        PassiveEntry e = by_weight.back();
        by_weight.pop_back();
        if (!live(e)) continue;
        ++pick_count;
        --passive_count_;
        e.clause->state = ClauseState::kNew;
        return e.clause;
      }
    } else {
      while (age_head < by_age.size()) {
        PassiveEntry e = by_age[age_head++];
        if (age_head > 4096 && age_head * 2 > by_age.size()) {
          by_age.erase(by_age.begin(), by_age.begin() + static_cast<std::ptrdiff_t>(age_head));
          age_head = 0;
        }
        if (!live(e)) continue;
        ++pick_count;
        --passive_count_;
        e.clause->state = ClauseState::kNew;
        return e.clause;
      }
    }
  }
  return nullptr;
}

void Saturation::drop_passive() {
  std::vector<PassiveEntry> entries;
  for (const PassiveEntry& e : by_weight)
    if (live(e)) entries.push_back(e);
  if (entries.size() < 2) {
    memory_out = true;
    return;
  }
  std::sort(entries.begin(), entries.end(),
            [](const PassiveEntry& a, const PassiveEntry& b) { return after(b, a); });
  const std::size_t keep_count = entries.size() / 2;
  for (std::size_t i = keep_count; i < entries.size(); ++i) {
    free_clause(entries[i].clause);
    ++stats.discarded;
  }
  passive_count_ = keep_count;
  entries.resize(keep_count);
  by_weight = entries;
  std::make_heap(by_weight.begin(), by_weight.end(), after);
  std::vector<PassiveEntry> ages;
  for (std::size_t i = age_head; i < by_age.size(); ++i)
    if (live(by_age[i])) ages.push_back(by_age[i]);
  by_age.swap(ages);
  age_head = 0;
  if (complete) incomplete_reason = "passive clauses dropped at the memory bound";
  complete = false;
}

}  // namespace velkor::saturation
