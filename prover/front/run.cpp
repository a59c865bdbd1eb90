// The run sequence: options, reading, preparation of the clause set, and the
// iterative deepening loop over the tableau search.
//
// A level searches from every start clause in turn with the same depth
// bound.  A proof ends the program from inside the search; a level that
// fails although no step was refused for lack of depth or signature budget
// shows the clause set is satisfiable; otherwise the bound grows by one.
#include <time.h>

#include <algorithm>
#include <limits>

#include "prover/prover.hpp"

namespace velkor {

int Prover::call_velkor(const std::vector<std::string>& words) {
  try {
    run_prover(std::vector<std::string>(words.begin() + (words.empty() ? 0 : 1), words.end()));
  } catch (const ProverExit& e) {
    return e.status;
  }
  flush();
  return 0;
}

void Prover::run_prover(const std::vector<std::string>& words) {
  // Without a word left for the file name there is nothing to read.
  if (update_defaults(words) >= words.size()) {
    print("Abort: error in parameter list\n");
    end_run(Outcome::kOptionError, 1);
  }
  read_tptp(last(words));
  prepare_and_search();
}

void Prover::prepare_and_search() {
  foldup_root->reduction_mark = 0;
  split_lemma_clauses();
  // Lemma roots exist only with the index on; without it input lemma
  // clauses are simply not entered.
  if (sgindex) in_lemma_index_lemmas(formula_lemmas);
  if (clause_reordering) sort_clauses(formula_clauses);
  if (equality) {
    if (nr_eq_literals != 0) {
      print("Equality handling\n");
      if (equal_predicate == nullptr) {
        // `equal` occurs only with another arity: differences still need
        // a binary equality record.
        equal_predicate = arena.make<Predicate>();
        equal_predicate->name = name_equal;
        equal_predicate->arity = 2;
        equal_predicate->signature_weight = 1;
        equal_predicate->is_predicate = true;
      }
    } else {
      equality = false;
    }
  }
  make_connection_graph(formula_clauses, formula_clauses);
  if (test_grounding) grounding();
  if (equality) make_eq_links(formula_clauses);
  choose_start_clauses();
  if (signature_bound) prepare_signature();
  print("\n");
  flush();
  deepen();
}

void Prover::split_lemma_clauses() {
  std::vector<Clause*> others;
  for (Clause* c : formula_clauses) {
    if (c->type == ClauseType::kLemma)
      formula_lemmas.insert(formula_lemmas.begin(), c);
    else
      others.push_back(c);
  }
  formula_clauses = std::move(others);
}

void Prover::choose_start_clauses() {
  std::vector<Clause*> negative, conjectures;
  bool negatives_are_conjectures = true;
  for (Clause* c : formula_clauses) {
    bool all_negative = true;
    for (std::int64_t i = 0; i < c->length; ++i)
      if (c->literals[i].sign == '+') all_negative = false;
    if (all_negative) {
      negative.push_back(c);
      if (c->type != ClauseType::kConjecture) negatives_are_conjectures = false;
    }
    if (c->type == ClauseType::kConjecture) conjectures.push_back(c);
  }
  if (conjecture_start && !conjectures.empty()) {
    // Every clause of the negated conjecture, whatever its signs.  Complete
    // only when the other clauses are consistent.
    print("\nstart from the conjecture clauses");
    start_clauses = conjectures;
  } else if (norel || negatives_are_conjectures) {
    print("\nall negated are conjectures");
    start_clauses = negative;
  } else {
    print("\nsome negated are no conjectures");
    // Without any conjecture clause the all-negative clauses are the start
    // clauses: every unsatisfiable clause set has a refutation from one.
    start_clauses = conjectures.empty() ? negative : conjectures;
    for (Clause* c : negative)
      if (std::find(start_clauses.begin(), start_clauses.end(), c) == start_clauses.end())
        fallback_start_clauses.push_back(c);
  }
}

void Prover::prepare_signature() {
  for (Predicate* p : predicate_list) p->number += nr_functors;  // update_pred_numbers
  sig_vector.assign(static_cast<std::size_t>(nr_predicates + 1 + nr_functors), 0);
  sig_trail.assign(static_cast<std::size_t>(nr_functors + nr_predicates), 0);
  if (nr_axioms <= 0) return;
  for (Clause* c : formula_clauses)  // free_goal_symbols
    if (c->type == ClauseType::kConjecture || c->type == ClauseType::kHypothesis)
      for (std::int64_t i = 0; i < c->nr_symbols; ++i) c->symbols[i]->signature_weight = 0;
  for (Clause* c : formula_clauses) {  // drop_free_symbols
    std::int64_t kept = 0;
    for (std::int64_t i = 0; i < c->nr_symbols; ++i)
      if (c->symbols[i]->signature_weight > 0) c->symbols[kept++] = c->symbols[i];
    c->nr_symbols = kept;
  }
}

namespace {

double process_cpu_seconds() {
  timespec now;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace

double Prover::search_cpu_seconds() const {
  return search_start_cpu < 0 ? 0 : process_cpu_seconds() - search_start_cpu;
}

void Prover::deepen() {
  search_start_cpu = process_cpu_seconds();
  for (;;) {
    for (Clause* start : start_clauses) {
      difference_counter = 0;
      extension_solve(nullptr, start, nullptr, depth, 0, 2);
    }
    // Start clauses chosen by their conjecture type are enough only when the
    // other clauses are consistent.  Once they are exhausted (nothing was cut
    // off by a bound, so deeper levels cannot help them), the search goes on
    // from the remaining all-negative clauses, from this level on, so that a
    // satisfiable verdict rests on every all-negative clause having failed.
    if (!bound_fail && !fallback_start_clauses.empty()) {
      start_clauses = std::move(fallback_start_clauses);
      fallback_start_clauses.clear();
      for (Clause* start : start_clauses) {
        difference_counter = 0;
        extension_solve(nullptr, start, nullptr, depth, 0, 2);
      }
    }
    display_inferences(depth);
    if (!bound_fail) {
      outcome = Outcome::kSatisfiable;
      print("\n     ***** FORMULA IS SATISFIABLE *****\n\n");
      print("Total successful/failed inferences(constraints): ");
      print(total_successful_inferences);
      print("/");
      print(total_failed_inferences);
      print(" (");
      print(total_constraint_fails);
      print(")\n");
      return;
    }
    bound_fail = false;
    // The largest bound cannot be raised any further.
    if (depth == final_depth || depth == std::numeric_limits<std::int64_t>::max()) {
      outcome = Outcome::kBoundReached;
      print("\n     ***** BOUND REACHED *****\n");
      return;
    }
    ++depth;
  }
}

void Prover::end_run(Outcome how, int status) {
  outcome = how;
  finish(status);
}

void Prover::poll_clock() {
  poll_countdown = kPollInterval;
  if (cpu_deadline <= 0 || process_cpu_seconds() < cpu_deadline) return;
  outcome = Outcome::kTimeout;
  if (on_timeout) on_timeout(*this);
  end_run(Outcome::kTimeout, kTimeoutStatus);
}

}  // namespace velkor
