// The whole state of the conflict-driven engine in one struct.
//
// The search assigns literals on a trail, propagates with two watched
// literals per clause, learns one clause from every conflict (first unique
// implication point, minimised by removing literals implied by the rest),
// jumps back to where that clause becomes unit, and branches on the variable
// of highest activity with the value it last had.  Restarts and the
// periodic deletion of learned clauses of poor quality keep the search from
// getting stuck in one region and the clause set from growing without bound.
//
// Clauses live in one arena of 32-bit words and are referred to by their
// offset into it, so the inner loop reads words and allocates nothing.
// Each concern is a file of its own that implements the members of that
// concern: arena.cpp, propagate.cpp, analyze.cpp, decide.cpp, backtrack.cpp,
// restart.cpp, reduce.cpp, and solver.cpp for the calls of the library.
#pragma once

#include <cassert>
#include <cstdint>
#include <functional>
#include <vector>

#include "modelgen/cdcl/solver.hpp"

namespace modelgen::cdcl {

// Literals inside the engine: 2 * variable index (from 0) + 1 when negative,
// so a literal and its negation differ in the lowest bit only.
using Lit = std::uint32_t;
inline constexpr Lit negate(Lit lit) {
  return lit ^ 1u;
}
inline constexpr std::uint32_t var_of(Lit lit) {
  return lit >> 1;
}
inline constexpr Lit make_lit(std::uint32_t var, bool negative) {
  return 2 * var + (negative ? 1u : 0u);
}

// A clause is the offset of its header word in the arena.
using ClauseRef = std::uint32_t;
inline constexpr ClauseRef kNoClause = 0xffffffffu;

// Clause layout in the arena: [size] [flags] [literals ...].  The flags
// word holds learned (bit 0), garbage (bit 1), two bits of recent use
// (bits 2-3) and the LBD (bits 4 and up), which is all reduce needs.
inline constexpr std::uint32_t kHeaderWords = 2;
inline constexpr std::uint32_t kLearnedFlag = 1u;
inline constexpr std::uint32_t kGarbageFlag = 2u;
inline constexpr std::uint32_t kUsedShift = 2;
inline constexpr std::uint32_t kUsedMask = 3u << kUsedShift;
inline constexpr std::uint32_t kLbdShift = 4;
inline constexpr std::uint32_t kMaxLbd = (1u << 28) - 1;

// An entry of a watch list: a clause watching the literal of the list, and
// a literal of the clause (the blocker) that, when true, spares a visit.
// Binary clauses are never visited: their blocker is the other literal.
struct Watch {
  Lit blocker;
  std::uint32_t binary : 1;
  std::uint32_t clause : 31;  // ClauseRef; the arena stays below 2^31 words
};

// Per variable, the data conflict analysis reads.
struct VarData {
  std::int32_t level;  // decision level of the assignment
  ClauseRef reason;    // clause that implied it, kNoClause for decisions
};

// Max-heap of variables ordered by activity: the next decision candidate.
struct VarHeap {
  std::vector<std::uint32_t> heap;      // variables, heap ordered
  std::vector<std::int32_t> positions;  // variable -> index in heap, -1 when absent
};

struct Internal {
  // ---- Clauses ----
  std::vector<std::uint32_t> arena;         // every clause: header words and literals
  std::uint64_t wasted_words = 0;           // words of deleted clauses still in the arena
  std::vector<ClauseRef> irredundant;       // clauses added through add_clause
  std::vector<ClauseRef> learned;           // learned clauses still in use
  std::vector<std::vector<Watch>> watches;  // literal -> clauses that watch it
  bool inconsistent = false;                // the empty clause follows at level 0

  // ---- Assignment ----
  std::vector<std::int8_t> values;     // literal -> 1 true, -1 false, 0 unassigned
  std::vector<VarData> var_data;       // variable -> level and reason
  std::vector<Lit> trail;              // assigned literals in order
  std::vector<std::uint32_t> control;  // trail size at the start of each decision level
  std::size_t propagated = 0;          // trail entries whose watches have been visited
  std::vector<std::int8_t> phases;     // variable -> last value (phase saving), 1 or -1

  // ---- Decisions ----
  std::vector<double> activity;     // variable -> activity (bumped in conflicts, decays)
  double activity_increment = 1.0;  // added by a bump; grows by 1 / decay per conflict
  double activity_decay = 0.8;      // grows to 0.95: fast focus early, stable later
  VarHeap queue;                    // unassigned variables (and some assigned) by activity

  // ---- Conflict analysis (scratch, kept to avoid allocation) ----
  std::vector<std::uint8_t> seen;           // variable -> mark during analysis and minimisation
  std::vector<Lit> clause_buffer;           // the learned (or added) clause being built
  std::vector<std::uint32_t> to_clear;      // variables whose `seen` must be reset
  std::vector<Lit> minimize_stack;          // literals still to be shown redundant
  std::vector<std::uint32_t> level_stamps;  // level -> stamp, for LBD and minimisation
  std::uint32_t stamp = 0;                  // current stamp of level_stamps

  // ---- Assumptions ----
  std::vector<Lit> assumptions;    // of the current solve, decided first
  std::vector<int> failed;         // negated failed assumptions, external literals
  std::vector<std::int8_t> model;  // variable -> value of the last model, 1 or -1

  // ---- Restarts (Luby sequence times a unit, in conflicts) ----
  std::int64_t restart_limit = 0;  // conflicts at which the next restart happens
  std::int64_t luby_index = 0;     // position in the Luby sequence

  // ---- Reduction of learned clauses ----
  std::int64_t reduce_limit = 2000;     // conflicts at which reduce runs next
  std::int64_t reduce_interval = 2000;  // grows by kReduceIncrement after every reduce
  std::size_t units_at_simplify = 0;    // level-0 trail size at the last simplify
  std::int64_t simplify_limit = 0;      // propagation count from which simplify may run again

  // ---- Limits and callbacks ----
  std::function<bool()> should_stop;  // asked every few hundred conflicts
  std::int64_t conflict_limit = -1;   // absolute conflict count at which to give up

  // ---- Counters ----
  std::int64_t conflicts = 0;
  std::int64_t decisions = 0;
  std::int64_t propagations = 0;
  std::int64_t restarts = 0;    // for debugging and tuning
  std::int64_t reductions = 0;  // likewise

  // Accessors of the assignment.
  std::int32_t level_of(Lit lit) const { return var_data[var_of(lit)].level; }
  std::int32_t decision_level() const { return static_cast<std::int32_t>(control.size()); }
  std::uint32_t nr_vars() const { return static_cast<std::uint32_t>(var_data.size()); }

  // Accessors of a clause in the arena.
  std::uint32_t clause_size(ClauseRef c) const { return arena[c]; }
  Lit* clause_literals(ClauseRef c) { return arena.data() + c + kHeaderWords; }
  std::uint32_t& clause_flags(ClauseRef c) { return arena[c + 1]; }
  std::uint32_t clause_lbd(ClauseRef c) const { return arena[c + 1] >> kLbdShift; }

  // arena.cpp
  void enlarge(std::uint32_t variables);
  ClauseRef new_clause(const std::vector<Lit>& literals, bool is_learned, std::uint32_t lbd);
  void watch_clause(ClauseRef c);
  void mark_garbage(ClauseRef c);
  void collect_garbage();

  // propagate.cpp
  void assign(Lit lit, ClauseRef reason);
  ClauseRef propagate();

  // analyze.cpp
  void analyze(ClauseRef conflict, std::int32_t& jump_level, std::uint32_t& lbd);
  bool literal_redundant(Lit lit, std::uint32_t levels);
  std::uint32_t compute_lbd(const Lit* literals, std::uint32_t size);
  void analyze_final(Lit failed_lit);
  void learn(std::uint32_t lbd);

  // decide.cpp
  void bump_variable(std::uint32_t var);
  void decay_activities();
  void heap_insert(std::uint32_t var);
  void heap_up(std::int32_t position);
  void heap_down(std::int32_t position);
  std::uint32_t heap_pop();
  Lit next_decision();

  // backtrack.cpp
  void new_decision_level();
  void backtrack(std::int32_t level);

  // restart.cpp
  bool restarting() const;
  void restart();
  void update_restart_limit();

  // reduce.cpp
  bool reducing() const;
  bool simplifying() const;
  void reduce();
  void simplify();
  bool locked(ClauseRef c);

  // solver.cpp
  Answer search();
  bool add_original();
  bool asked_to_stop();
};

}  // namespace modelgen::cdcl
