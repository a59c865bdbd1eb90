// The in-memory form of a problem and of the search's working copies.
//
// The reader builds clause, literal, predicate, functor, term and variable
// records once; the search never looks at text again.  Everything lives in the
// prover's arena until the process ends, and records refer to each other by
// plain pointers.  Names are interned, so two names are equal exactly when
// they are the same object.
//
// Field order follows the documented record layouts; the search relies on
// literals and subgoals sharing one record type, so that code reading a sign,
// predicate, arguments or connections works on both.
#pragma once

#include <cstdint>
#include <string_view>

namespace velkor {

struct Clause;
struct ClauseCopy;
struct Derivation;
struct ConstraintCell;
struct Literal;
struct SubgoalGroup;
struct TrieNode;

// An interned name: unique per spelling, compared by identity.
struct Name {
  std::string_view text;
};

// Clause types; kNone for a type word that is none of the four.
enum class ClauseType : std::uint8_t { kNone, kAxiom, kHypothesis, kConjecture, kLemma };

// A functor or predicate record.  Functors and predicates share this head so
// that a clause's `symbols` list and the signature bound treat both alike.
struct Symbol {
  const Name* name;
  std::int64_t arity;
  std::int64_t number;            // 1, 2, ... in order of first appearance
  std::int64_t signature_weight;  // 1; 0 for free goal symbols under "-sig"
  bool is_predicate;
};

using Functor = Symbol;

// Root of one lemma index (one predicate, one sign).  For a propositional
// predicate only `present` is used; otherwise `trie` and `max_variables`.
struct LemmaRoot {
  bool present;
  TrieNode* trie;
  std::int64_t max_variables;
  Derivation* derivation;  // propositional entry: what it rests on, when kept
};

struct Predicate : Symbol {
  bool has_index;  // the index roots exist only when the lemma index is on
  LemmaRoot positive_index;
  LemmaRoot negative_index;
  Literal* root_lemmas[2];  // the first foldup lemma at the root, for signs '-' and '+'
};

// A term: a function application or constant (functor set, arguments in
// `args`), or a variable cell (functor null).  This is the one variable test.
struct Term {
  Functor* functor;                  // null for a variable cell
  Term** args;                       // functor->arity arguments
  Term* binding;                     // variables: bound term, null while unbound
  ConstraintCell* constraint_chain;  // first constraint element watching it
  const Name* name;                  // variables: the name written in the input
  std::int64_t occurrences;          // scratch count while measuring complexity
};

// `occurrences` of the variable cells of a lemma's derivation (kept for
// proofs), which the search never sees.
inline constexpr std::int64_t kSnapshotCell = -1;

inline bool is_variable(const Term* t) {
  return t->functor == nullptr;
}

// One connection: literal `index` (from 0) of `clause`.
struct Connection {
  Clause* clause;
  std::int64_t index;
};

// The alternatives tried for a subgoal: reduction steps first when
// `reduction` is set, then extension steps into the entries in order.
struct ConnectionList {
  bool reduction;
  std::int64_t count;
  Connection* entries;
  // non_units[i]: how many entries from i on in a row enter clauses of more
  // than one literal (0 for a unit clause), all refused alike when the depth
  // bound is used up.  Null when not computed.
  std::int64_t* non_units;
};

// A literal of an input clause, a subgoal of a clause copy, or a difference
// literal made by equality unification.  Input literals use `clause`;
// subgoals and difference literals use `copy`.
struct Literal {
  char sign;  // '+' or '-'
  Predicate* predicate;
  Term** args;  // predicate->arity arguments
  ConnectionList* connections;
  Clause* clause;
  ClauseCopy* copy;
  bool selected;
  bool closed;          // restricted backtracking: solved by the alternative being tried
  Literal* mate;        // the partner literal of the copy entered from this subgoal
  std::int64_t number;  // position in its clause, from 1
  Literal* foldup_link;
  std::int64_t reduction_mark;
  // Foldup lemmas grouped by predicate and sign, so that a reduction walks
  // only the lemmas it could use.  Every lemma belongs to an anchor: the
  // subgoal on the branch (or the foldup root) after which its chain places
  // it.  Among an anchor's lemmas, those of one predicate and sign form a
  // group, linked in chain order.  The groups of the root are kept on the
  // predicate records.
  Literal* branch_link;      // with foldup: the subgoal it hangs below, or the foldup root
  std::uint64_t lemma_keys;  // as an anchor: bit `lemma_key_bit` of each group here
  Literal* lemma_groups;     // as an anchor: the first lemma of its first group
  Literal* group_next;       // as the first lemma of a group: the first of the next group
  Literal* key_next;         // as a lemma: the next lemma of its group
  Literal* anchor;           // as a lemma: its anchor; null while not a lemma
};

// The bit of a predicate and sign in an anchor's `lemma_keys`: a group of
// that predicate and sign can be at the anchor only if it is set.
inline std::uint64_t lemma_key_bit(const Symbol* predicate, char sign) {
  const std::uint64_t key = 2 * static_cast<std::uint64_t>(predicate->number) + (sign == '+');
  return std::uint64_t{1} << (key & 63);
}

// One element of the global subgoal chain: either the subgoals of a clause
// copy, or the difference literals recorded by one step (equality mode).
struct SubgoalGroup {
  ClauseCopy* copy;       // copy group: the copy; difference group: null
  std::int64_t first;     // difference group: eq-trail position of its first literal
  std::int64_t count;     // number of subgoals in the group
  SubgoalGroup* older;    // the group that was innermost when this one was pushed
  bool completes_parent;  // exhausting it means the parent subgoal is solved
};

// A working copy of a clause with fresh variables.
struct ClauseCopy {
  Literal* subgoals;   // clause->length subgoal records, literal order
  SubgoalGroup group;  // the copy's place in the subgoal chain
  Literal* parent;     // subgoal the copy was entered from; null at the start
  Clause* clause;
  const void* copy_tag;
  std::int64_t depth_left;
  std::int64_t entry_inferences;
  std::int64_t weighted_limit;
  std::int64_t differences;  // eq-trail position of its first difference, or 0
  // Ordering constraints (bit i for constraint i < 64) that hold for every
  // instance of the bindings: instantiating further cannot break them, so
  // they are not read again until the step that found them is undone.
  std::uint64_t entailed;
};

// An ordering constraint of a clause: argument `greater_arg` of literal
// `greater` (indices from 0) must be greater than (`strict`), or at least as
// great as, argument `smaller_arg` of literal `smaller`.
struct OrderingConstraint {
  std::int32_t greater, greater_arg, smaller, smaller_arg;
  bool strict;
};

struct Clause {
  std::int64_t free_copies;  // index in `copies` of the next copy to use
  Literal* literals;         // `length` literals in input order
  std::int64_t length;
  std::int64_t variable_count;
  Term** variables;  // most recently introduced first
  const void* copy_tag;
  ClauseType type;
  std::int64_t number;  // position in the input file, from 1
  const Name** name;    // clause name: one name, or a name with arguments
  std::int64_t name_length;
  ClauseCopy** copies;  // oldest first; `nr_copies` in use of `copies_capacity`
  std::int64_t nr_copies;
  std::int64_t copies_capacity;
  std::int64_t term_size;
  Symbol** symbols;  // most recently met first
  std::int64_t nr_symbols;
  // Ordering constraints of a clause of the equality modification.
  const OrderingConstraint* ordering;
  std::int64_t nr_ordering;
};

// A cell of the constraint stack: a disequation constraint (pending count and
// satisfied flag) or one of its elements (value, owner, next on the variable).
struct ConstraintCell {
  std::int64_t pending;
  bool satisfied;
  Term* value;
  ConstraintCell* constraint;
  ConstraintCell* next;
};

// A node of a lemma-index trie level.  `variable` > 0 stands for the n-th
// distinct variable of an entry; otherwise `functor` is the symbol.
struct TrieNode {
  std::int64_t variable;
  Functor* functor;
  TrieNode* children;
  TrieNode* next;          // next node of the same level
  Derivation* derivation;  // last node of an entry: what it rests on, when kept
};

}  // namespace velkor
