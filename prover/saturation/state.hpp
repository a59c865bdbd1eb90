// The state of one saturation run.  One struct owns it all; each file of
// this folder implements the members of its concern:
//
//   input.cpp     the problem's symbols, the ordering, the input clauses
//   clauses.cpp   making, normalising, weighing and printing clauses
//   select.cpp    maximal and selected literals of a clause being activated
//   active.cpp    the active set and the indexes over it
//   superpose.cpp the generating inferences of a given clause
//   simplify.cpp  rewriting, subsumption, subsumption resolution, tautologies
//   passive.cpp   the passive set and the choice of the given clause
//   loop.cpp      the given-clause loop
//   proof.cpp     the derivation of the empty clause
//
// The loop is the DISCOUNT variant: only active clauses take part in
// inferences and simplify others; passive clauses wait unsimplified until
// they are picked, and are simplified again then.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "prover/saturation/clauses.hpp"
#include "prover/saturation/index_discrimination.hpp"
#include "prover/saturation/index_features.hpp"
#include "prover/saturation/index_fingerprint.hpp"
#include "prover/saturation/order.hpp"
#include "prover/saturation/saturation.hpp"
#include "prover/saturation/substitution.hpp"
#include "prover/saturation/terms.hpp"

namespace velkor::saturation {

// A place of a term in an active clause: the side of a literal (the atom
// of a predicate literal is side 0) and the subterm's number in the
// preorder of that side (0: the side itself).
struct Occurrence {
  Clause* clause;
  std::uint32_t literal;
  std::uint32_t side;
  std::uint32_t position;
  bool operator==(const Occurrence&) const = default;
};

// A rewrite of a clause by a unit equation, found while normalising it.
struct RewriteStep {
  std::uint32_t literal;
  std::uint32_t side;
  std::vector<std::uint32_t> path;
  Clause* unit;
  std::uint32_t unit_side;  // the side of the unit that matched
};

// The passive set: a heap by priority and a queue by age over the same
// clauses.  A clause leaves both when it is picked from one (the other
// forgets it when it comes to its turn); (clause, id) pairs recognise a
// recycled block.
struct PassiveEntry {
  double key;
  std::uint64_t id;
  Clause* clause;
};

class Saturation {
 public:
  Saturation(const tptp::Problem& problem, const std::vector<std::uint32_t>& distinct_objects,
             const Settings& settings);
  Result run();
  Result answer();

  // --- input.cpp
  void read_problem();
  void choose_precedence();
  std::uint32_t symbol_for(std::uint32_t source, std::uint32_t arity, bool predicate);
  Term* input_term(std::uint32_t term, bool atom = false);  // the atom of a predicate literal
  void add_distinct_object_axioms();

  // --- clauses.cpp
  // A clause of `literals`, variables numbered by first occurrence, and
  // unless `as_is` duplicates and literals t != t left out.  `renumbered`
  // gets the map from the literals' variable numbers to the clause's,
  // `kept` the new number of each literal (a left-out duplicate: its
  // twin's; a literal t != t: kGone).
  static constexpr std::uint32_t kGone = ~std::uint32_t{0};
  Clause* make_clause(std::vector<Literal>& literals, Derivation* derivation,
                      std::vector<std::uint32_t>* renumbered = nullptr,
                      std::vector<std::uint32_t>* kept = nullptr, bool as_is = false);
  void free_clause(Clause* c);
  bool is_tautology(const Clause* c) const;
  double priority_of(const Clause* c) const;
  std::string clause_text(const Clause* c, const std::vector<std::string>* names = nullptr) const;
  void features_of(const Clause* c, std::uint32_t* out, std::int64_t flip = -1) const;
  Derivation* derivation(Rule rule);

  // --- select.cpp
  void select_literals(Clause* c);
  bool eligible_for_inferences(const Clause* c, std::uint32_t i) const;
  bool eligible_side(const Literal& l, std::uint32_t side) const;

  // --- active.cpp
  void activate(Clause* c);
  void deactivate(Clause* c);
  // The subterms of c that superposition may rewrite, with their places.
  void into_positions(Clause* c, std::vector<std::pair<Term*, Occurrence>>& out);
  void subterms(Clause* c, std::vector<Term*>& out);
  std::vector<Term*> demodulator_sides(Clause* c);

  // --- superpose.cpp
  void generate(Clause* given);
  void superpose_from(Clause* given);
  void superpose_into(Clause* given);
  void resolve(Clause* given);
  void equality_resolution(Clause* given);
  void equality_factoring(Clause* given);
  void factoring(Clause* given);
  // The inference between the unified side `fs` of literal `fl` of `from`
  // (at offset fo) and the subterm at preorder `position` of side `is` of
  // literal `il` of `into` (at io), under the current unifier.
  void superposition(Clause* from, std::uint32_t fo, std::uint32_t fl, std::uint32_t fs,
                     Clause* into, std::uint32_t io, std::uint32_t il, std::uint32_t is,
                     std::uint32_t position);
  void resolution(Clause* pos, std::uint32_t po, std::uint32_t pl, Clause* neg, std::uint32_t no,
                  std::uint32_t nl);
  void instances(const Clause* c, std::uint32_t offset, std::vector<Literal>& out);
  bool maximal_in(const std::vector<Literal>& literals, std::size_t i, bool strict);
  bool too_heavy(const Term* t);
  // `rule`: the index into Statistics::by_rule.
  void conclude(std::vector<Literal>& literals, Derivation* d, Clause* p0, std::uint32_t o0,
                Clause* p1, std::uint32_t o1, int rule);

  // --- simplify.cpp
  // False: c is redundant (the caller frees it).  Only a given clause gets
  // the full subsumption test.
  bool forward_simplify(Clause*& c, bool given = false);
  bool rewrite_clause(Clause*& c);  // true: c now the rewritten clause
  Term* normal_form(Term* t, Term* restricted_by, std::uint32_t literal, std::uint32_t side);
  Term* rewrite_top(Term* t, Term* restricted_by, Clause*& unit, std::uint32_t& unit_side);
  Clause* replay_rewrites(Clause* c);
  bool subsumes(const Clause* general, const Clause* special, std::int64_t cut = -1,
                std::int64_t* cut_at = nullptr);
  bool subsume_from(const Clause* general, const Clause* special, std::uint32_t k, std::int64_t cut,
                    std::int64_t* cut_at);
  bool forward_subsumed(const Clause* c, bool given);
  std::int64_t unit_instance(const Clause* c, std::uint32_t j, bool same_sign, Clause*& unit);
  void forward_subsumption_resolution(Clause*& c);
  void cut_distinct_objects(Clause*& c);
  Clause* distinct_leaf(Term* a, Term* b);
  Clause* cut_literal(Clause* c, std::uint32_t literal, Clause* by, std::uint32_t by_literal);
  void backward_simplify(Clause* given);
  void backward_rewrite(Clause* unit);

  // --- passive.cpp
  void keep(Clause* c);  // a new clause, simplified, into the passive set (or the proof)
  Clause* next_given();
  void drop_passive();
  std::size_t passive_size() const { return passive_count_; }

  // --- proof.cpp
  void record_proof(Clause* empty, Result& result);
  std::string step_info(const Clause* c, std::vector<std::string>& bindings) const;
  const std::vector<std::string>& variable_names(const Clause* c) const;
  mutable std::unordered_map<const Clause*, std::vector<std::string>> printed_names;

  // --- the members, in the order they are set up --------------------------------
  const tptp::Problem& problem;                // read only
  const std::vector<std::uint32_t>& distinct;  // symbol ids of distinct objects
  Settings settings;                           // deadline, memory bound, strategy, proofs
  Strategy& strategy = settings.strategy;      // shorthand
  TermBank bank;                               // every term, once
  Ordering ordering{bank};                     // Knuth-Bendix on the bank's terms
  ClauseArena clauses;                         // every clause block
  Substitution subst;                          // unifiers of inferences, by offset
  Matcher matcher;                             // matchers of simplifications
  Statistics stats;                            // counts for --statistics

  std::vector<std::string> symbol_names;                           // by engine symbol: TPTP text
  std::unordered_map<std::uint64_t, std::uint32_t> symbol_lookup;  // (source, arity, predicate)
  std::uint64_t next_id = 0;                                       // ids (ages) of clauses
  std::vector<Clause*> inputs;  // the input clauses, in problem order (kept ones)

  // Active set and its indexes.
  std::vector<Clause*> active;                       // in order of activation
  FingerprintIndex<Occurrence> from_index;           // maximal sides of positive equations
  FingerprintIndex<Occurrence> into_index;           // subterms of eligible literals
  FingerprintIndex<Occurrence> resolution_index[2];  // eligible atoms: [0] negative, [1] positive
  FingerprintIndex<Clause*> subterm_index;           // every subterm, for backward rewriting
  DiscriminationTree<Occurrence> demodulators;       // left sides of unit equations
  DiscriminationTree<Occurrence> units[2];           // sides of unit clauses: [1] positive
  static constexpr std::size_t kBuckets = 12;        // symbol counts per sign
  static constexpr std::size_t kFeatures = 2 + 2 * kBuckets;  // and the literal counts
  FeatureVectorIndex<Clause*> subsumption_index{kFeatures};   // feature vectors of active clauses
  std::uint32_t demodulator_count = 0;        // units ever indexed: the memo's clock
  std::vector<std::uint32_t> feature_bucket;  // symbol -> its feature number

  // Rewriting.
  Clause* rewriting = nullptr;              // the clause being rewritten: no unit rewrites itself
  bool rewrote_with_conjecture = false;     // a unit derived from the conjecture was used
  std::vector<std::uint32_t> rewrite_path;  // of the subterm being normalised
  std::vector<RewriteStep> rewrite_steps;   // with proofs: the rewrites, in order
  std::vector<bool> used_literals;          // of the subsumed clause, while matching
  std::unordered_map<std::uint64_t, Clause*> distinct_leaves;  // "a" != "b" by symbol pair

  // Passive set.
  std::vector<PassiveEntry> by_weight;  // a min-heap by (priority, id)
  std::vector<PassiveEntry> by_age;     // FIFO, from `age_head`
  std::size_t age_head = 0;
  std::int64_t pick_count = 0;          // picks so far, for the weight:age ratio
  std::size_t passive_count_ = 0;       // clauses in the passive state
  std::size_t passive_bytes_limit = 0;  // drop passive clauses beyond this (0: none)

  void discard(const char* why);  // a clause thrown away for a limit

  // The answer.
  Clause* empty_clause = nullptr;  // the refutation, once found
  bool complete = true;            // no clause discarded, strategy complete
  bool memory_out = false;         // the memory bound held with nothing left to drop
  std::string incomplete_reason;   // what made it incomplete

  // Scratch of the inferences, reused so that the hot loops allocate nothing.
  std::vector<Literal> scratch_literals;
  std::vector<Clause*> scratch_clauses;
  std::vector<std::uint32_t> scratch_features, scratch_features2;
  std::vector<std::uint32_t> scratch_path;
  std::vector<Term*> scratch_terms, scratch_terms2;
  std::vector<Occurrence> scratch_occurrences;
  std::vector<std::pair<Term*, Occurrence>> scratch_positions, scratch_into;
  std::vector<Literal> scratch_from_inst, scratch_into_inst;
  std::uint64_t polls = 0;  // work since the clock was last read
  bool timed_out = false;   // the deadline has passed
  bool out_of_time();
  bool stop() const { return empty_clause != nullptr || timed_out; }
  bool distinct_constant(Term* t) const {
    return !t->variable && bank.symbol(t->symbol).distinct_object;
  }
};

// The preorder position of a subterm as a path of argument numbers.
void path_of(Term* side, std::uint32_t position, std::vector<std::uint32_t>& path);

// The literal's side: 0 left, 1 right.
inline Term* side_of(const Literal& l, std::uint32_t side) {
  return side == 0 ? l.left : l.right;
}

}  // namespace velkor::saturation
