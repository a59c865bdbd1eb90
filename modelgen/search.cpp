// The splitting search: unit propagation, splits, backjumping, restarts.
//
// One call of split_search assigns one atom and recurses, so the recursion
// is as deep as the number of atoms (the run gives it a large stack).  A
// unit step takes the clause on top of the unit stack and makes its open
// literal true; a split, when no unit is pending, tries the first unassigned
// atom of the order (or a heavier one in dynamic mode) with one value and,
// if that fails in a way the atom took part in, with the other.  Every
// change on the way down (value, open counts, satisfied marks, dynamic
// weight sums) is undone on the way up by walking the same occurrence lists
// again, so a step costs time in proportion to one atom's occurrences and
// nothing is copied or allocated.
//
// Backjumping: atoms remember in `stamp` the branch counter at which they
// last helped to propagate or refute; `backjump_mark` holds the counter a
// failure depends on.  A split whose atom's stamp is below the mark after
// its first branch did not contribute to the failure, and its second value
// would fail the same way, so it is skipped.
//
// Dynamic weighting: a clause that shrinks or is satisfied changes the
// weight sums of all its unassigned atoms by the same amount, on the side
// each occurs on.  Doing that member by member costs a clause's length per
// change, which grows with the square of the length over a branch.  So each
// clause keeps the change in one number, `weight_shift`, and an atom's sums
// are its built sums plus the shifts of its clauses, added up when they are
// read.  Changes are undone in the reverse order of making them, so every
// shift in effect while an atom is unassigned was made while it was
// unassigned: the sums are exactly those of adjusting every member at
// every change, and a read costs one atom's occurrences.
#include <algorithm>
#include <cassert>
#include <limits>

#include "modelgen/model_generator.hpp"

namespace modelgen {
namespace {

std::span<Clause*> clauses_made_false(Atom* atom) {
  return atom->value == Value::kTrue ? atom->negative_clauses : atom->positive_clauses;
}

std::span<Clause*> clauses_made_true(Atom* atom) {
  return atom->value == Value::kTrue ? atom->positive_clauses : atom->negative_clauses;
}

// Heavier first: by the larger weight sum, then by the smaller one.
bool heavier(const Atom* a, const Atom* b) {
  std::int64_t a_high = std::max(a->positive_weight, a->negative_weight);
  std::int64_t b_high = std::max(b->positive_weight, b->negative_weight);
  if (a_high != b_high) return a_high > b_high;
  return std::min(a->positive_weight, a->negative_weight) >
         std::min(b->positive_weight, b->negative_weight);
}

// Selection sort with exchange, heaviest first: for each position the
// heaviest atom from there on (the one nearest the front among equals)
// exchanges places with the atom at that position.  The exchanges make the
// result differ from a stable sort, and the atom order must be exactly this
// one, so the procedure is kept; a tournament tree over the positions finds
// each heaviest atom in logarithmic time instead of a scan.
void sort_by_weight(std::vector<Atom*>& list) {
  std::size_t n = list.size();
  if (n < 2) return;
  std::size_t leaves = 1;
  while (leaves < n) leaves *= 2;
  constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
  std::vector<std::size_t> tree(2 * leaves, kNone);  // position of the heaviest below
  auto better = [&](std::size_t x, std::size_t y) {
    if (x == kNone) return y;
    if (y == kNone) return x;
    if (heavier(list[x], list[y])) return x;
    if (heavier(list[y], list[x])) return y;
    return std::min(x, y);
  };
  auto update = [&](std::size_t position, bool present) {
    std::size_t node = leaves + position;
    tree[node] = present ? position : kNone;
    for (node /= 2; node >= 1; node /= 2) tree[node] = better(tree[2 * node], tree[2 * node + 1]);
  };
  for (std::size_t i = 0; i < n; ++i) tree[leaves + i] = i;
  for (std::size_t node = leaves - 1; node >= 1; --node)
    tree[node] = better(tree[2 * node], tree[2 * node + 1]);
  for (std::size_t i = 0; i < n; ++i) {
    std::size_t best = tree[1];  // positions before i are out of the tree
    if (best != i) {
      std::swap(list[i], list[best]);
      update(best, true);
    }
    update(i, false);
  }
}

}  // namespace

void ModelGenerator::order_atoms() {
  std::vector<Atom*> input = atoms;
  sort_by_weight(input);
  atom_order.clear();
  if (split_long_clauses) {
    atom_order = split_atoms;
    sort_by_weight(atom_order);
  }
  atom_order.insert(atom_order.end(), input.begin(), input.end());
  atom_count = static_cast<std::int32_t>(atom_order.size());
  if (atom_list && !sat_competition) print_atom_order();
}

void ModelGenerator::reset_unit_stack() {
  unit_top = -1;
  for (Clause* clause : unit_clauses) push_unit(clause);
}

void ModelGenerator::push_unit(Clause* clause) {
  if (static_cast<std::size_t>(unit_top + 1) == unit_stack.size())
    unit_stack.resize(std::max<std::size_t>(2 * unit_stack.size(), 1));
  unit_stack[static_cast<std::size_t>(++unit_top)] = clause;
}

void ModelGenerator::pop_satisfied_units() {
  while (unit_top >= 0 && unit_stack[static_cast<std::size_t>(unit_top)]->satisfied_by != nullptr)
    --unit_top;
}

// Dynamic mode: the open count of `clause` goes from `from` to `to`; each of
// its unassigned atoms gains (or, undoing, loses) the weight difference.
void ModelGenerator::adjust_open_weights(Clause* clause, std::int32_t from, std::int32_t to) {
  auto weight = [&](std::int32_t length) {
    assert(length >= 1);
    return length_weights[static_cast<std::size_t>(std::min(length, kMaxBucketLength))];
  };
  clause->weight_shift += weight(to) - weight(from);
  weights_shifted = true;
}

std::int64_t ModelGenerator::current_positive_weight(const Atom* atom) const {
  std::int64_t sum = atom->positive_weight;
  if (weights_shifted)
    for (const Clause* clause : atom->positive_clauses) sum += clause->weight_shift;
  return sum;
}

std::int64_t ModelGenerator::current_negative_weight(const Atom* atom) const {
  std::int64_t sum = atom->negative_weight;
  if (weights_shifted)
    for (const Clause* clause : atom->negative_clauses) sum += clause->weight_shift;
  return sum;
}

void ModelGenerator::shrink_clauses(std::span<Clause*> list) {
  for (Clause* clause : list) {
    if (clause->satisfied_by != nullptr) continue;
    std::int32_t k = clause->open_count;
    assert(k >= 2);  // at a split every clause with one open literal has been used
    clause->open_count = k - 1;
    if (k == 2) push_unit(clause);
    if (dynamic) adjust_open_weights(clause, k, k - 1);
  }
}

// Returns the position of the conflict clause in `list`, or its size.
std::size_t ModelGenerator::propagate_shrink(std::span<Clause*> list) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    Clause* clause = list[i];
    if (clause->satisfied_by != nullptr) continue;
    std::int32_t k = clause->open_count;
    if (k == 1) {
      conflict_clause = clause;
      return i;
    }
    clause->open_count = k - 1;
    if (k == 2) push_unit(clause);
    if (dynamic) adjust_open_weights(clause, k, k - 1);
  }
  return list.size();
}

void ModelGenerator::unshrink_clauses(std::span<Clause*> list, std::size_t end) {
  for (std::size_t i = 0; i < end; ++i) {
    Clause* clause = list[i];
    if (clause->satisfied_by != nullptr) continue;
    std::int32_t k = clause->open_count;
    clause->open_count = k + 1;
    if (dynamic) adjust_open_weights(clause, k, k + 1);
  }
}

// In dynamic mode every clause of the list, satisfied before or not, costs
// its unassigned atoms 1 of their weight sums.
void ModelGenerator::satisfy_clauses(std::span<Clause*> list, Atom* atom) {
  for (Clause* clause : list) {
    if (clause->satisfied_by == nullptr) clause->satisfied_by = atom;
    if (dynamic) clause->weight_shift -= 1;
  }
  if (dynamic) weights_shifted = true;
}

void ModelGenerator::unsatisfy_clauses(std::span<Clause*> list, Atom* atom) {
  for (Clause* clause : list) {
    if (clause->satisfied_by == atom) clause->satisfied_by = nullptr;
    if (dynamic) clause->weight_shift += 1;
  }
}

Atom* ModelGenerator::look_ahead_select(std::int32_t position) {
  auto weight = [&](const Atom* atom) {
    std::int64_t pw = current_positive_weight(atom), nw = current_negative_weight(atom);
    return max_weight ? std::max(pw, nw) : pw + nw;
  };
  Atom* chosen = atom_order[static_cast<std::size_t>(position)];
  std::int64_t best = weight(chosen);
  std::int64_t examined = 0;
  for (std::size_t q = static_cast<std::size_t>(position) + 1;
       q < atom_order.size() && examined < look_ahead; ++q) {
    Atom* atom = atom_order[q];
    if (atom->value != Value::kUnassigned) continue;
    ++examined;
    std::int64_t candidate = weight(atom);
    if (candidate > best) {
      chosen = atom;
      best = candidate;
    }
  }
  return chosen;
}

bool ModelGenerator::first_value_true(const Atom* atom, std::int64_t counter) const {
  std::int64_t pw = current_positive_weight(atom), nw = current_negative_weight(atom);
  if (seed > 0) {
    // A granularity of 0 would divide by zero; it ties equal sums only, like 1.
    std::int64_t granularity = tie_granularity == 0 ? 1 : tie_granularity;
    std::int64_t draw = seed % (counter + 1);
    if (pw / granularity == nw / granularity && draw % 100 < random_percent) return draw % 2 != 0;
  }
  if (negative_first) return false;
  if (positive_first) return true;
  return pw > nw;
}

std::int64_t ModelGenerator::record_model(std::int64_t count) {
  ++models_found;
  last_model_count = count;
  if (sat_competition)
    record_competition_model();
  else if (verbosity == 2 || (verbosity == 1 && models_found == 1))
    print_model();
  if (!all_models) return kAbortMark;
  // Every atom counts as involved, so every split above tries both values.
  for (Atom* atom : atom_order) atom->stamp = count;
  return count;
}

std::int64_t ModelGenerator::split_search(std::int32_t start, std::int64_t counter,
                                          std::int32_t depth) {
  if (step_limit > 0 && counter > step_limit) {
    if (!sat_competition) {
      print_number(counter);
      print_text(" ");
      std::fflush(out);
    }
    return kAbortMark;
  }

  if (unit_top >= 0) {
    // Unit step: the clause on top has exactly one literal left that is not false.
    Clause* clause = unit_stack[static_cast<std::size_t>(unit_top)];
    Atom* atom = nullptr;
    Value value = Value::kTrue;
    for (Atom* candidate : clause->positive_atoms)
      if (candidate->value == Value::kUnassigned) {
        atom = candidate;
        break;
      }
    if (atom == nullptr) {
      value = Value::kFalse;
      for (Atom* candidate : clause->negative_atoms)
        if (candidate->value == Value::kUnassigned) {
          atom = candidate;
          break;
        }
    }
    assert(atom != nullptr);
    for (Atom* member : clause->positive_atoms) member->stamp = counter + 1;
    for (Atom* member : clause->negative_atoms) member->stamp = counter + 1;
    --unit_top;
    atom->value = value;
    std::span<Clause*> made_false = clauses_made_false(atom);
    std::span<Clause*> made_true = clauses_made_true(atom);
    conflict_clause = nullptr;
    std::size_t reached = propagate_shrink(made_false);
    if (conflict_clause != nullptr) {
      unshrink_clauses(made_false, reached);
      atom->value = Value::kUnassigned;
      for (Atom* member : conflict_clause->positive_atoms) member->stamp = counter + 2;
      for (Atom* member : conflict_clause->negative_atoms) member->stamp = counter + 2;
      backjump_mark = counter;
      return counter + 2;
    }
    satisfy_clauses(made_true, atom);
    pop_satisfied_units();
    std::int64_t result = split_search(start, counter + 1, depth);
    unsatisfy_clauses(made_true, atom);
    unshrink_clauses(made_false, made_false.size());
    atom->value = Value::kUnassigned;
    if (atom->stamp >= backjump_mark) backjump_mark = counter;
    return result;
  }

  // Split step.
  auto position = static_cast<std::size_t>(start);
  while (position < atom_order.size() && atom_order[position]->value != Value::kUnassigned)
    ++position;
  if (position == atom_order.size()) {
    backjump_mark = counter;
    return record_model(counter + 1);
  }
  auto p = static_cast<std::int32_t>(position);
  Atom* atom = atom_order[position];
  // The split that switches dynamic weighting off switches it on again when
  // it returns, so every weight change made while it was on is undone while
  // it is on again.
  bool switched_off = false;
  if (depth >= dynamic_depth) {
    switched_off = dynamic;
    dynamic = false;
  } else if (dynamic) {
    atom = look_ahead_select(p);
  }

  Value first = first_value_true(atom, counter) ? Value::kTrue : Value::kFalse;
  atom->value = first;
  std::span<Clause*> made_false = clauses_made_false(atom);
  std::span<Clause*> made_true = clauses_made_true(atom);
  shrink_clauses(made_false);
  satisfy_clauses(made_true, atom);
  backjump_mark = counter;
  pop_satisfied_units();
  std::int64_t result = split_search(p, counter, depth + 1);
  unsatisfy_clauses(made_true, atom);
  unshrink_clauses(made_false, made_false.size());
  atom->value = Value::kUnassigned;

  if (result != kAbortMark && atom->stamp >= backjump_mark) {
    // The atom took part in the failure: try its other value.  The unit
    // stack holds leftovers of the first branch and is emptied.
    unit_top = -1;
    atom->value = first == Value::kTrue ? Value::kFalse : Value::kTrue;
    made_false = clauses_made_false(atom);
    made_true = clauses_made_true(atom);
    shrink_clauses(made_false);
    satisfy_clauses(made_true, atom);
    pop_satisfied_units();
    std::int64_t saved = backjump_mark;
    result = split_search(p, result, depth + 1);
    unsatisfy_clauses(made_true, atom);
    unshrink_clauses(made_false, made_false.size());
    atom->value = Value::kUnassigned;
    if (atom->stamp >= backjump_mark) backjump_mark = saved;
  }
  if (switched_off) dynamic = true;
  return result;
}

bool ModelGenerator::search_state_repeats() const {
  if (backjump_mark != saved_backjump_mark) return false;
  for (std::size_t i = 0; i < atom_order.size(); ++i)
    if (atom_order[i]->stamp != saved_stamps[i]) return false;
  return true;
}

void ModelGenerator::save_search_state() {
  saved_stamps.resize(atom_order.size());
  for (std::size_t i = 0; i < atom_order.size(); ++i) saved_stamps[i] = atom_order[i]->stamp;
  saved_backjump_mark = backjump_mark;
}

// Attempts repeat while the last one was cut off and no model was found,
// each with one less seed and a grown limit.  Once the limit stops growing
// and the seed is spent, an attempt depends only on the stamps and the
// backjump mark it starts with; when those repeat (found by Brent's cycle
// detection), the loop would never end, so the run stops with a message.
void ModelGenerator::restart_attempts() {
  bool repeating = false;
  std::int64_t since_saved = 0, period = 1;
  while (search_result == kAbortMark && models_found == 0) {
    std::int32_t previous_limit = step_limit;
    std::int32_t previous_seed = seed;
    if (seed > std::numeric_limits<std::int32_t>::min()) seed -= 1;
    ++attempt;
    std::int64_t grown = static_cast<std::int64_t>(step_limit) +
                         static_cast<std::int64_t>(limit_growth) * step_limit / 100;
    step_limit = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        grown, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));

    if (step_limit == previous_limit && previous_seed <= 0) {
      if (repeating && search_state_repeats()) {
        // For a SAT harness this is an answer: unknown.
        if (sat_competition) {
          attempts_repeat = true;
          return;
        }
        print_text("\n");
        std::fflush(out);
        std::fprintf(stderr,
                     "quorvel: stopped before attempt %lld: the step limit no longer grows and "
                     "no seed is left, so the attempts would repeat forever without a result\n",
                     static_cast<long long>(attempt));
        throw RunStopped{kStatusEndlessRestarts};
      }
      if (!repeating || since_saved == period) {
        if (repeating) period *= 2;
        repeating = true;
        save_search_state();
        since_saved = 0;
      }
      ++since_saved;
    } else {
      repeating = false;
    }

    reset_unit_stack();
    search_result = split_search(0, 0, 0);
  }
}

}  // namespace modelgen
