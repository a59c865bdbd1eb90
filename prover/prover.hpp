// The whole state of one run of the prover, in one place.
//
// Every setting, counter, trail and search variable of `velkor` is a member of
// `Prover`, declared here with its default.  Each folder implements the
// member functions of its concern: front/ the options and the run sequence,
// input/ the reader and the report, terms/ bindings, unification, copies,
// constraints and regularity, search/ the tableau search, support/ the
// connection graph, clause ordering, display and the lemma index.  Tests make
// a fresh `Prover` per case.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/arena.hpp"
#include "prover/input/records.hpp"

namespace velkor {

// Thrown to end the run with an exit status: the proof report, the fatal
// messages.  Caught at the top of the run, after the output is flushed.
struct ProverExit {
  int status;
};

// How a run ended, for the drivers that report it in their own terms (SZS
// status lines, a schedule that goes on with the next option set).
enum class Outcome : std::uint8_t {
  kNone,          // still running, or ended by nothing below
  kProof,         // the proof report was printed
  kSatisfiable,   // FORMULA IS SATISFIABLE
  kBoundReached,  // BOUND REACHED
  kTimeout,       // the CPU-time limit was reached during the search
  kOptionError,   // Abort: error in parameter list
  kFileError,     // File not found, or a file that cannot be read
  kSyntaxError,   // a parse error in the problem
  kUnsupported,   // Subgoal alternation: not implemented!
};

// Exit statuses of a run stopped by its CPU-time limit, and of one that ran
// out of memory.
inline constexpr int kTimeoutStatus = 2;
inline constexpr int kMemoryOutStatus = 3;

struct Derivation;

// A lemma step of the tableau: the index entry that closed a subgoal and
// the terms its variables were matched with.
struct LemmaUse {
  Derivation* derivation;
  Term** bindings;  // bindings[i] for entry variable i + 1
  std::int64_t nr_bindings;
  // An entry s = t (s != t) that closed a subgoal t != s (t = s) of the
  // equality modification with its arguments swapped: the entry's sign
  // ('+', '-'; 0 for a direct use) and the subgoal's arguments t, s.
  char symmetric_sign;
  Term* symmetric_args[2];
};

// What an entry of the lemma index rests on, kept when proofs are to be
// printed in full: the clause instances of the tableau at the moment the
// entry was made, copied with the bindings of that moment, and the lemma
// steps among them.  The entry's variables are `variables`, cells of this
// copy, so that an instance of the entry used later can be turned into the
// same instance of what it rests on.
struct Derivation {
  Term** variables;  // the entry's variables, numbered from 1
  std::int64_t nr_variables;
  // Each instance: `lengths[i]` literals (with their signs) of `clauses[i]`,
  // or, where `clauses[i]` is null, a clause of equality theory that
  // justifies the differences of an equality step.
  Literal** instances;
  Clause** clauses;
  std::int64_t* lengths;
  std::int64_t nr_instances;
  LemmaUse* uses;
  std::int64_t nr_uses;
};

// Result of a unifier: failure, success, or success by recording an equality
// difference.  Callers treat everything but kFail as success.
enum class Unified { kFail, kTrue, kDifference };

// One undo record of the value trail: the bytes of a field before a logged
// write.  `object` null is a mark.
struct ValueUndo {
  void* object;
  std::uint64_t old_value;
  std::uint8_t size;
};

// State of the extension unifier within one call.
enum class Optimized : std::uint8_t { kNothingBound, kCopyBound, kGeneral };

// The last element of a non-empty list; the problem file name is the last
// word of the command line.
template <typename T>
const T& last(const std::vector<T>& list) {
  return list.back();
}

class Prover {
 public:
  Prover();
  Prover(const Prover&) = delete;
  Prover& operator=(const Prover&) = delete;

  // ---- Settings changed by options ---------------------------------------
  std::int64_t depth = 1;               // bound of the current level ("-id")
  std::int64_t final_depth = 0;         // stop after this level ("-d")
  bool clause_reordering = false;       // sort clauses before the graph
  bool weighted_depth = false;          // weighted depth bound ("-wd*")
  std::int64_t wd1 = 120;               // weighted bound bonus (hundredths)
  std::int64_t wd2 = 120;               // charge per extra literal (hundredths)
  std::int64_t wd3 = 120;               // speed of the move to the weighted bound
  bool signature_bound = false;         // "-sig"
  std::int64_t free_sig = 0;            // signature budget left
  bool subgoal_reordering_on = false;   // "-dynsgreord" given
  std::int64_t subgoal_reordering = 0;  // its rule number
  std::int64_t subgoal_complexity_measure = 0;
  bool global_reordering = false;
  std::int64_t subgoal_alternation = 0;  // 0 off, 1 single, 2 multi
  bool regularity = false;
  bool constraints = false;
  bool strong_regularity = false;
  bool matings_pruning = false;
  bool equal_predecessor_fail_on = false;   // "-eqpred" given
  std::int64_t equal_predecessor_fail = 0;  // its value (0 or 1)
  bool proof_output = false;
  bool sgindex = false;
  bool equality = false;
  bool norel = false;
  bool foldup = false;
  bool index_foldup = false;
  bool printindex = false;
  bool test_grounding = false;

  // ---- Settings of drivers (long options) ----------------------------------
  double time_limit = 0;      // "--time-limit": CPU seconds of the process, 0 none
  double cpu_deadline = 0;    // process CPU seconds at which the search stops, 0 none
  bool szs_output = false;    // "--szs": SZS status line, TSTP proofs
  bool auto_mode = false;     // "--auto": a schedule of option sets
  bool model_search = false;  // "--models": ground instances, then finite models
  bool ground_only = false;   // "--ground": ground instances alone, within their budget
  int cores = 1;              // "--cores": option sets of --auto run at once
  // Search restrictions that give up completeness for speed.
  bool restricted_backtracking = false;  // "--restricted-backtracking"
  bool conjecture_start = false;         // "--conjecture-start"
  bool record_derivations = false;       // keep what lemma-index entries rest on
  bool statistics = false;               // "--statistics": counts and CPU time at the end
  std::int64_t memory_limit_mb = 0;      // "--memory-limit": heap of the process, 0 none
  std::int64_t index_limit_mb = 0;       // "--index-limit": size of the lemma index, 0 none
  bool complete_search = true;  // no option that gives up completeness given (the option table)
  bool free_numbers = false;    // "--free-numbers": numbers are not distinct objects
  std::string schedule_file;    // "--schedule": the --auto schedule table to run
  // "--select": the parameters of a premise selection (prover/select), as
  // given; the driver searches only the premises it keeps.  Empty: none.
  std::string premise_selection;
  // "--saturation": the saturation engine alone; the "--sat-..." options set
  // its strategy (-1 and empty: the named strategy's own setting).
  struct SaturationOptions {
    bool on = false;
    std::string strategy;            // "--sat-strategy NAME"
    std::int64_t selection = -1;     // "--sat-selection N"
    std::int64_t weight_picks = -1;  // "--sat-ratio W:A"
    std::int64_t age_picks = -1;
    std::int64_t precedence = -1;    // "--sat-precedence N"
    std::int64_t weight_limit = -1;  // "--sat-weight-limit N"
  } saturation;
  static std::string usage_text();  // "--help", from the option table
  // "--equality-modification": the problem's equality is the modification's
  // (prover/equality); the search checks its ordering constraints, closes
  // s != t by reflexivity first and takes s = t and t = s as one literal.
  bool equality_modification = false;
  Clause* reflexivity_clause = nullptr;     // X = X, set by the driver
  std::vector<ClauseCopy*> ordered_copies;  // copies with ordering constraints on the tableau
  // Constraints the last check found to hold for every instance, as (copy,
  // bits of `entailed`); they are marked once the step's value trail is open.
  std::vector<std::pair<ClauseCopy*, std::uint64_t>> entailed_found;

  // ---- Run state of the front end ----------------------------------------
  std::vector<Clause*> formula_clauses;  // `formula`.`clauses`
  std::vector<Clause*> formula_lemmas;   // `formula`.`lemmas`
  std::vector<Clause*> start_clauses;
  // All-negative clauses not among the start clauses: tried once the start
  // clauses chosen by their conjecture type are exhausted (see `deepen`).
  std::vector<Clause*> fallback_start_clauses;
  Literal* foldup_root;                  // root of all foldup chains
  std::vector<std::int64_t> sig_vector;  // charged weight per symbol number, 0 = free
  std::vector<std::int64_t> sig_trail;   // symbol numbers in marking order
  std::int64_t sig_trail_position = 0;
  std::int64_t old_sig_trail_position = 0;
  std::int64_t old_free_sig = 0;
  std::int64_t nr_lemmas = 0;
  std::int64_t lemmatype = 0;         // 0 subgoal, 1 lemma (printed type word)
  std::vector<Term*> index_bindings;  // lookup bindings of entry variables
  bool in_index = true;
  std::int64_t index_bytes = 0;  // arena bytes the lemma index has taken, with derivations
  std::int64_t nth_variable = 0;
  std::int64_t max_variables = 0;
  std::vector<Term*> var_assoc_nr;  // variables of the entry being inserted
  bool regularity_only_for_subgoals = true;

  // ---- Reader results ------------------------------------------------------
  std::vector<Predicate*> predicate_list;  // creation order (reported newest first)
  std::vector<Functor*> functor_list;
  std::int64_t nr_clauses = 0, nr_axioms = 0, nr_hypotheses = 0, nr_conjectures = 0;
  std::int64_t nr_units = 0, nr_non_horn = 0, nr_literals = 0, nr_eq_literals = 0;
  std::int64_t nr_predicates = 0, nr_propositionals = 0, nr_functors = 0, nr_constants = 0;
  std::int64_t nr_variables = 0, nr_singleton_variables = 0, max_clause_size = 0;
  std::int64_t min_predicate_arity = -1, max_predicate_arity = -1;  // -1: none ("-")
  std::int64_t min_functor_arity = -1, max_functor_arity = -1;
  Predicate* equal_predicate = nullptr;  // the record named EQUAL of arity 2, if any

  // ---- Search state --------------------------------------------------------
  SubgoalGroup* global_subgoals = nullptr;
  Literal* current_subgoal = nullptr;
  bool current_complexity_known = false;
  std::int64_t current_complexity = 0, new_complexity = 0;
  std::int64_t current_vars = 0, new_vars = 0;
  ClauseCopy* actual_copy = nullptr;
  std::int64_t actual_depth = 0;
  std::int64_t inf = 0;
  bool bound_fail = false;
  std::int64_t difference_counter = 0;
  Optimized optimized_unification = Optimized::kNothingBound;
  bool recording_differences = false;  // clashes become differences (equality steps)

  // Binding trail: variables bound, null entries are marks.  Index 0 is the
  // bottom mark that is never popped; `trail_top` is the last item pushed.
  std::vector<Term*> trail_items;
  std::size_t trail_top = 0;
  // Value trail: undo records of logged writes; index 0 is the bottom mark.
  std::vector<ValueUndo> v_trail_items;
  std::size_t v_trail_top = 0;
  // Constraint stack: cells reused from position 1 upward; `c_stack` is the
  // position of the last cell taken.
  std::vector<ConstraintCell*> c_stack_cells;
  std::size_t c_stack = 0;
  std::size_t actual_c_stack = 0;
  // Equality trail: difference literals reused from position 1 upward;
  // `eq_trail` is the position of the last difference recorded.
  std::vector<Literal*> eq_trail_literals;
  std::vector<SubgoalGroup*> eq_trail_groups;
  std::int64_t eq_trail = 0;
  std::int64_t eq_trail_before = 0;
  std::int64_t step_eq_start = 0;  // `eq_trail` when the current step began
  ConnectionList* eq_links;

  // Proofs in full (`record_derivations`): the copies of the tableau in
  // entry order (with the number of lemma steps taken before each), the
  // lemma steps on the current branch, and the bindings of the last
  // successful index lookup.
  struct BranchLemmaUse {
    Derivation* derivation;
    std::size_t first;  // its bindings in `lemma_use_terms`
    std::int64_t nr_bindings;
    char symmetric_sign;  // as in LemmaUse
    Term* symmetric_args[2];
  };
  std::vector<ClauseCopy*> copy_stack;
  std::vector<std::size_t> copy_stack_uses;
  std::vector<BranchLemmaUse> lemma_uses;
  std::vector<Term*> lemma_use_terms;
  Derivation* matched_derivation = nullptr;
  std::vector<Term*> matched_bindings;
  char matched_symmetric_sign = 0;  // as in LemmaUse
  Term* matched_symmetric_args[2] = {nullptr, nullptr};
  void push_lemma_use();

  // ---- How the run ends ----------------------------------------------------
  Outcome outcome = Outcome::kNone;
  // Prints the proof in place of the used clauses, when set (drivers that
  // print proofs in another format).
  std::function<void(Prover&)> proof_printer;
  // Called when the time limit is reached, when set; it may end the process
  // at once, sparing the unwinding of a deep search.  Otherwise the run ends
  // with kTimeout like any other ending.
  std::function<void(Prover&)> on_timeout;
  // The CPU-time limit is polled every `kPollInterval` steps of the search.
  // Walks over terms (unification, the occurs check, the lemma index,
  // snapshots) count a step per node: bound terms can double in size with
  // each inference, and then a single step can take seconds.
  static constexpr std::int64_t kPollInterval = 1 << 14;
  std::int64_t poll_countdown = kPollInterval;
  void tick() {
    if (--poll_countdown <= 0) poll_clock();
  }
  void poll_clock();
  [[noreturn]] void end_run(Outcome how, int status);

  // ---- Counters ----------------------------------------------------------
  std::int64_t successful_inferences = 0, failed_inferences = 0;
  std::int64_t constraint_fails = 0, successful_matchings = 0;
  std::int64_t total_successful_inferences = 0, total_failed_inferences = 0;
  std::int64_t total_constraint_fails = 0, total_successful_matchings = 0;
  std::int64_t successful_reduction_steps = 0;
  std::int64_t nr_reduction_steps = 0;
  std::int64_t nr_matchings = 0;
  // Extension steps refused because the depth bound was used up: cheap
  // failed inferences, counted apart for the statistics.  Never reset.
  std::int64_t bound_refusals = 0;
  double search_start_cpu = -1;  // process CPU seconds when the search began
  double search_cpu_seconds() const;

  // ---- Storage and streams -------------------------------------------------
  common::Arena arena;
  std::FILE* out = stdout;
  std::FILE* err = stderr;

  // ---- Names (prover/input/names.cpp) -----------------------------------
  const Name* intern(std::string_view text);
  const Name* name_equal = nullptr;  // EQUAL, the equality predicate's name

  // ---- Output helpers (prover/support/display.cpp) -----------------------
  void print(std::string_view text);
  void print(std::int64_t number);
  void flush();
  [[noreturn]] void finish(int status);

  // ---- Front end (prover/front) --------------------------------------------
  // Applies the options; returns the number of words they took.
  std::size_t update_defaults(const std::vector<std::string>& words);
  int call_velkor(const std::vector<std::string>& words);
  void run_prover(const std::vector<std::string>& words);
  // Everything after reading: lemma clauses, ordering, graph, start
  // clauses, the deepening loop.
  void prepare_and_search();
  void split_lemma_clauses();
  void choose_start_clauses();
  void prepare_signature();
  void deepen();

  // ---- Reader and report (prover/input) ------------------------------------
  bool read_tptp(const std::string& file_name);
  // Reads a problem held in memory (converted by a driver); `file_name` is
  // printed where read_tptp prints the name of the file it reads.  Without
  // `report` only the records are built.
  void read_problem_text(const std::string& file_name, std::string_view text, bool report);
  // Parses a whole problem text; on a syntax error, reports it and finishes
  // with status 255.
  void parse_problem(std::string_view text);
  void display_statistics();

  // ---- Bindings and unification (prover/terms) -----------------------------
  void push_mark() { push_trail(nullptr); }
  void push_trail(Term* item) {
    if (++trail_top == trail_items.size()) grow_trail();
    trail_items[trail_top] = item;
  }
  void grow_trail();
  void bind(Term* variable, Term* value) {
    variable->binding = value;
    push_trail(variable);
  }
  bool unbind_vars();
  bool trail_at_mark() const { return trail_items[trail_top] == nullptr; }
  void pop_trail() { --trail_top; }
  static Term* ref(Term* t) {
    while (is_variable(t) && t->binding != nullptr) t = t->binding;
    return t;
  }
  Unified unify_terms(Term* s, Term* t);
  bool unify_lists(Term** l1, Term** l2, std::int64_t n);
  bool extension_unify_lists(Term** c, Term** g, std::int64_t n);
  bool occurs_in(Term* v, Term* t);
  Unified record_difference(Term* p, Term* q);
  bool extension_unify_term(Term* x, Term* y);
  bool extension_unify_lists_bound(Term** c, Term** g, std::int64_t n);
  bool extension_unify_term_bound(Term* x, Term* y);

  // Value trail: `log_write(field)` saves the field before the caller writes it.
  void push_v_mark() { push_v_undo(nullptr, 0, 0); }
  template <typename T>
  void log_write(T& field) {
    static_assert(sizeof(T) <= sizeof(std::uint64_t));
    std::uint64_t old_value = 0;
    __builtin_memcpy(&old_value, &field, sizeof(T));
    push_v_undo(&field, old_value, sizeof(T));
  }
  // Written in place, field by field: the value trail is pushed at every
  // step of a search that logs.
  void push_v_undo(void* object, std::uint64_t old_value, std::uint8_t size) {
    if (++v_trail_top == v_trail_items.size()) grow_v_trail();
    ValueUndo& u = v_trail_items[v_trail_top];
    u.object = object;
    u.old_value = old_value;
    u.size = size;
  }
  void grow_v_trail();
  void undo_v_trail();

  // ---- Copies (prover/terms/copy.cpp) ------------------------------------
  ClauseCopy* make_clause_copy(Literal* literals, std::int64_t length, Clause* clause,
                               const void* extra);
  void make_subgoal_copy(Literal* literal, ClauseCopy* copy, Literal* subgoal);
  Term* copy_term(Term* t);
  void append_copy(Clause* clause, ClauseCopy* copy);
  ClauseCopy* first_free_copy(Clause* c) const { return c->copies[c->free_copies]; }

  // ---- Constraints and regularity (prover/terms) --------------------------
  ConstraintCell* take_constraint_cell();
  bool make_disequation_constraint(Term** s, Term** t, std::int64_t n);
  void add_constraint_elements(ConstraintCell* constraint);
  bool propagate_substitution();
  bool check_constraint_element(Term* value, ConstraintCell* element);
  static bool ref_equal(Term* s, Term* t);
  static bool ref_equal_lists(Term** s, Term** t, std::int64_t n);
  bool no_equal_predecessor(Literal* subgoal, Literal* parent);
  // Whether every ordering constraint of the copies on the tableau (and of
  // `entered`, when not null) can still hold.
  bool orderings_hold(ClauseCopy* entered);
  void mark_entailed();
  bool make_regularity_constraints_clause(Literal* entered, ClauseCopy* copy, Literal* parent,
                                          std::int64_t first, std::int64_t count);

  // ---- Search (prover/search) ----------------------------------------------
  void extension_solve(Literal* s, Clause* c, Literal* p, std::int64_t r, std::int64_t d,
                       std::int64_t k);
  void solve_next(std::int64_t d, std::int64_t k);
  // Extension steps refused because the depth bound is used up.
  void refuse_at_bound(std::int64_t n) {
    tick();
    bound_fail = true;
    failed_inferences += n;
    bound_refusals += n;
  }
  void solve_subgoal(Literal* s, ConnectionList* l, std::int64_t r, std::int64_t d, std::int64_t k);
  void reduction_solve(Literal* s, Literal* a, std::int64_t d, std::int64_t k);
  void try_reduction(Literal* s, Literal* a, std::int64_t d, std::int64_t k);
  void mark_reduction(Literal* a, std::int64_t d);
  void fold_up(Literal* p, std::int64_t d);
  // Calls `visit` on every node of the foldup chain from `start` (a subgoal
  // on the branch, or the foldup root) that has `predicate` and `sign`, in
  // chain order, until `visit` returns false; returns false if it did.
  // `visit` may search below: the chain it leaves behind is restored.
  template <typename Visit>
  bool walk_foldup_chain(Literal* start, Predicate* predicate, char sign, Visit visit);
  Literal* lemma_group(Literal* anchor, Predicate* predicate, char sign) const;
  Literal** lemma_group_slot(Literal* anchor, Literal* p);
  void group_lemma(Literal* p, Literal* target);
  std::int64_t subgoal_depth(Literal* t, std::int64_t d) const;
  Literal* next_subgoal();
  void consider_subgoal(Literal* s);
  void subgoal_complexity(Literal* t, std::int64_t& complexity, std::int64_t& vars);
  std::int64_t plain_term_complexity(Term* x);
  void count_variable_occurrences(Term* x);
  std::int64_t term_complexity(Term* x);
  std::int64_t count_marks();
  [[noreturn]] void proof_report();
  bool charge_signature(Symbol** symbols, std::int64_t n);
  void undo_signature(std::int64_t position, std::int64_t budget);
  Literal* group_item(const SubgoalGroup* g, std::int64_t i) const;

  // ---- Search support (prover/support) -------------------------------------
  void make_connection_graph(const std::vector<Clause*>& clauses,
                             const std::vector<Clause*>& targets);
  void make_eq_links(const std::vector<Clause*>& clauses);
  static bool clause_bigger(const Clause* c1, const Clause* c2);
  static void sort_clauses(std::vector<Clause*>& clauses);
  static void select_smallest_clause(std::vector<Clause*>& clauses, std::size_t cell);
  void display_subgoal(const Literal* s);
  void display_comp_subgoal(const Literal* s);
  void display_term(Term* t);
  void display_proof_clauses(const std::vector<Clause*>& clauses);
  void display_inferences(std::int64_t level);
  // The sign of the clause literal a subgoal was copied from (a subgoal
  // folded up into a lemma has its sign flipped while the proof is open);
  // a difference literal is negative.
  static char clause_sign(const Literal* l) {
    return l->clause != nullptr ? l->clause->literals[l->number - 1].sign : '-';
  }
  // The clause of equality theory behind the differences recorded by the
  // step that entered `a` (none: false): the complements of the subgoal and
  // of the literal it was connected with, and the differences.
  bool difference_justification(const ClauseCopy* a, std::vector<Literal>& out);
  void grounding();
  void in_lemma_index_subgoal(Literal* literal);
  void comp_in_lemma_index_subgoal(Literal* subgoal);
  void in_lemma_index_lemmas(const std::vector<Clause*>& clauses);
  bool find_matching_lemma(Literal* subgoal);
  Derivation* snapshot_derivation(const std::vector<Term*>& entry_variables);
  Term* snapshot_term(Term* t);

  // A symbol of a lemma-index entry: a variable number (> 0) or a functor.
  struct IndexKey {
    std::int64_t variable;
    Functor* functor;
  };

 private:
  std::unordered_map<std::string_view, const Name*> names_;
  std::vector<IndexKey> index_keys_;  // scratch of the insertion in progress
  std::vector<Term*> index_pending_;
  // Lemma index internals (prover/support/lemma_index.cpp).
  void enter_lemma(Literal* literal, char sign, bool complement);
  void index_match(TrieNode* level, Term* q, Term** rest, std::int64_t rest_n);
  void index_continue(TrieNode* node, Term** rest, std::int64_t rest_n);
  Clause* entering_input_lemma_ = nullptr;
  // A folded-up subgoal's entry rests on the subtree below it alone: the
  // copies from this one on (null: on the whole tableau).
  ClauseCopy* entering_subtree_ = nullptr;
  struct PendingList {
    Term** terms;
    std::int64_t n;
  };
  std::vector<PendingList> index_stack_;
  std::size_t index_stack_top_ = 0;
};

// The chain from a branch subgoal B runs through B, the lemmas anchored at
// B, then on from B's own parent subgoal, and ends with the lemmas of the
// foldup root; the lemmas of one anchor with the wanted predicate and sign
// are one group, so the others are never looked at.
template <typename Visit>
bool Prover::walk_foldup_chain(Literal* start, Predicate* predicate, char sign, Visit visit) {
  for (Literal* b = start; b != nullptr; b = b->branch_link) {
    tick();
    if (b->sign == sign && b->predicate == predicate && !visit(b)) return false;
    for (Literal* l = lemma_group(b, predicate, sign); l != nullptr; l = l->key_next)
      if (!visit(l)) return false;
  }
  return true;
}

}  // namespace velkor
