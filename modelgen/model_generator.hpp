// The whole state of quorvel, the propositional model generator, in one struct.
//
// quorvel reads a set of propositional clauses, files them by length, builds
// one record per clause and per atom that point at each other through their
// occurrence lists, and searches for total truth assignments depth first:
// unit propagation from a stack of clauses with one literal left, splits on
// atoms chosen by clause weights, backjumping by integer stamps, restarts
// under a step limit.  Every change the search makes is made in place and
// undone on the way back, so no clause set is ever copied.
//
// Every setting, counter and table of a run is a member of `ModelGenerator`;
// each concern lives in its own file (options.cpp, datum.cpp, clause_input.cpp,
// search.cpp, conflict_search.cpp, output.cpp, run.cpp) and implements the
// members of that concern.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace modelgen {

struct Atom;
struct Clause;

enum class Value : std::uint8_t { kUnassigned, kTrue, kFalse };

// A clause record.  Field order is the documented one.
struct Clause {
  Atom* satisfied_by;               // atom whose value first satisfied the clause, or null
  std::int32_t open_count;          // literals not yet false (the clause's full length when built)
  std::span<Atom*> positive_atoms;  // atoms occurring positively, reverse literal order
  std::span<Atom*> negative_atoms;  // atoms occurring negatively, reverse literal order
  std::int32_t clause_number;       // 1 for the first record built, then counting up
  std::int64_t weight_shift;        // dynamic mode: change of its members' weight sums (search.cpp)
};

// An atom record.  Field order is the documented one.
struct Atom {
  std::span<Clause*> positive_clauses;  // clauses with the atom positive, last linked first
  std::span<Clause*> negative_clauses;  // clauses with the atom negative, last linked first
  std::int64_t stamp;                   // branch counter at which the atom last took part
  std::int64_t positive_weight;         // sum of clause weights over positive_clauses, as built
  std::int64_t negative_weight;         // sum of clause weights over negative_clauses, as built
  std::int32_t number;                  // atom number, 1 to 65536, split atoms above
  Value value;                          // current truth value
};

// A datum of the clause file (S-expression).  Lists hold their elements in
// order; every datum carries a structural hash so that equal data hash alike.
struct Datum {
  enum class Kind : std::uint8_t { kInteger, kSymbol, kString, kList };
  Kind kind;
  std::uint32_t line;                      // line on which the datum starts
  std::uint64_t hash;                      // equal data have equal hashes
  std::int64_t integer;                    // kInteger
  std::string_view text;                   // kSymbol (upper case) and kString (unquoted)
  std::span<const Datum* const> elements;  // kList
};

// Bump allocator: records and data live until the process ends, so they are
// carved out of large blocks and never freed one by one.
class Arena {
 public:
  void* allocate(std::size_t bytes, std::size_t alignment);
  template <typename T>
  T* make_array(std::size_t count) {
    return static_cast<T*>(allocate(sizeof(T) * (count == 0 ? 1 : count), alignof(T)));
  }

 private:
  static constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
  std::vector<std::unique_ptr<std::byte[]>> blocks_;
  std::byte* next_ = nullptr;
  std::size_t left_ = 0;
};

// Reads the data of a clause file one whole datum at a time: lists nested
// to any depth (read without recursion), signed decimal integers, symbols
// (letters folded to upper case), double-quoted strings with backslash
// escapes, and comments from ";" to the end of the line.
class DatumReader {
 public:
  DatumReader(std::string_view text, Arena& arena) : text_(text), arena_(arena) {}
  // The next top-level datum, or null at the end of the input; throws InputError.
  const Datum* next();
  std::uint32_t line() const { return line_; }

 private:
  const Datum* read_atom();
  const Datum* make_list(std::size_t first, std::uint32_t line);
  std::string_view keep(std::string_view text);

  std::string_view text_;
  Arena& arena_;
  std::size_t position_ = 0;
  std::uint32_t line_ = 1;
  std::vector<const Datum*> pending_;  // elements of the lists being read
  struct OpenList {
    std::size_t first;   // index of its first element in pending_
    std::uint32_t line;  // line of its "("
  };
  std::vector<OpenList> open_;
  std::string scratch_;
};

// Thrown to end the run after its message has been written; carries the exit status.
struct RunStopped {
  int status;
};

// Malformed clause input, found by the readers; the run reports it with the
// file name and line and stops with kStatusInputError.
struct InputError {
  std::uint32_t line;
  std::string message;
};

// Exit statuses.
inline constexpr int kStatusOk = 0;
inline constexpr int kStatusParameterError = 1;   // bad option, wrong clause divisor
inline constexpr int kStatusInputError = 2;       // clause file missing, unreadable or malformed
inline constexpr int kStatusEndlessRestarts = 3;  // restart loop would repeat itself forever
inline constexpr int kStatusRunFailed = 4;        // out of memory, or another failure of the run
// Exit statuses of a run with --sat-competition, the ones SAT harnesses read.
inline constexpr int kStatusCompetitionUnknown = 0;
inline constexpr int kStatusCompetitionSatisfiable = 10;
inline constexpr int kStatusCompetitionUnsatisfiable = 20;

inline constexpr std::int32_t kInputAtomLimit = 65536;    // atom numbers of the integer syntax
inline constexpr std::int32_t kMaxDatumLiterals = 65535;  // distinct literals of the general syntax
inline constexpr std::int32_t kMaxBucketLength = 1000;    // longer clauses share the last bucket
inline constexpr std::int64_t kWeightScale = 536870911;   // 2^29 - 1: total weight of the clauses
inline constexpr std::int64_t kAbortMark = -1;            // result of a cut-off attempt

// One clause filed in a length bucket: a slice of `literal_pool`.
struct FiledClause {
  std::uint32_t offset;
  std::uint32_t length;
};

struct ModelGenerator {
  // ---- Settings (set by parse_options; see options.cpp for the option words) ----
  bool generic_input = false;              // -geninput: clauses in the general syntax
  bool all_models = false;                 // -allmodels: search on after a model, count all
  std::int32_t verbosity = 2;              // -verbose N / -noverbose: which models are printed
  bool negative_model = false;             // -negmodel: model blocks list false atoms too
  bool atom_list = false;                  // -atomlist: print the atom order first
  bool positive_first = false;             // -pos: splits try true first
  bool negative_first = false;             // -neg: splits try false first (wins over -pos)
  std::int32_t divisor_exponent = 3;       // -div N: clause weight 1/(l^N), N in 0..6
  bool max_weight = false;                 // -max: atom weight max(pw, nw) instead of pw + nw
  bool dynamic = false;                    // -dynamic / -maxdyn: weights follow the clause state
  std::int32_t dynamic_depth = 536870911;  // -maxdyn N: from this split depth on, static order
  std::int32_t look_ahead = 0;             // -dynatom N: further atoms the dynamic choice examines
  std::int32_t step_limit = 0;             // -limit N: branch bound of one attempt (<= 0: none)
  std::int32_t limit_growth = 0;           // -limit+ N: percent growth of the limit per restart
  std::int32_t seed = 0;                   // -rand N: seed of the polarity tie-break
  std::int32_t random_percent = 100;       // -randp N: percent of ties the seed decides
  std::int32_t tie_granularity = 1000000;  // -freqdiv N: weight sums tie when equal after / N
  bool split_long_clauses = false;         // -split N: split clauses of 4+ literals
  std::int32_t split_budget = 65536;       // -split N: at most this many new atoms
  bool sat_competition = false;            // --sat-competition: SAT competition output and status
  bool conflict_driven = false;            // --cdcl: the conflict-driven engine searches instead

  // ---- Run counters (shown in the result line) ----
  std::int64_t models_found = 0;      // models recorded so far
  std::int64_t attempt = 1;           // number of the current attempt
  std::int64_t last_model_count = 0;  // branch counter passed to the last model
  std::int64_t search_result = 0;     // result of the last attempt: branch count or kAbortMark

  // ---- Clause input ----
  std::string file_name;                   // last command-line word
  bool dimacs_input = false;               // the file had a "p cnf" header
  bool empty_clause_read = false;          // an empty clause makes the set unsatisfiable
  Arena arena;                             // data, labels
  std::vector<std::int32_t> literal_pool;  // literals of all filed clauses
  std::array<std::vector<FiledClause>, kMaxBucketLength + 1> length_buckets;  // by length
  std::array<std::int64_t, kMaxBucketLength + 1> length_weights{};            // w(l), l = 1 to 1000
  std::vector<const Datum*> datum_table;     // general syntax: literal datum per atom number
  std::int32_t distinct_literals = 0;        // entries used in datum_table
  std::vector<std::uint32_t> literal_marks;  // normalisation: last clause serial per literal
  std::uint32_t clause_serial = 0;           // serial of the clause being normalised
  std::vector<std::int32_t> kept_literals;   // normalisation: scratch list
  std::vector<std::pair<const Datum*, const Datum*>> compare_stack;  // scratch of equal_data
  std::int32_t atom_limit = kInputAtomLimit;     // highest atom number (split atoms included)
  std::int32_t split_counter = kInputAtomLimit;  // number of the last split atom
  std::int64_t clause_count = 0;                 // data read, tautologies included
  std::int32_t atom_count = 0;                   // atom records made
  std::int64_t variable_count = 0;  // DIMACS: atoms declared; integer syntax: largest atom number

  // ---- Records (built once; stable addresses) ----
  std::vector<Clause> clause_records;    // all clause records, in building order
  std::vector<Atom> atom_records;        // all atom records, in building order
  std::vector<Clause*> occurrence_pool;  // backing store of the atoms' clause lists
  std::vector<Atom*> member_pool;        // backing store of the clauses' atom lists
  std::vector<Atom*> atom_table;         // atom number -> record or null
  std::vector<Atom*> atoms;              // input atoms, list order (last made first)
  std::vector<Atom*> split_atoms;        // split atoms, list order (last made first)
  std::vector<Clause*> unit_clauses;     // clauses of length 1, in reading order

  // ---- Search ----
  std::vector<Atom*> atom_order;         // initial atom order: split atoms, then input atoms
  std::vector<std::string_view> labels;  // general syntax: display text per order position
  std::vector<Clause*> unit_stack;       // clauses with one open literal (capacity doubles)
  std::int64_t unit_top = -1;            // top index of unit_stack; -1 when empty
  std::int64_t backjump_mark = 0;        // branch counter a failure depends on
  Clause* conflict_clause = nullptr;     // clause left without an open literal, or null
  bool weights_shifted = false;          // some clause's weight_shift has been changed

  // ---- Restart loop: detection of attempts that repeat forever ----
  std::vector<std::int64_t> saved_stamps;  // stamps before a remembered attempt
  std::int64_t saved_backjump_mark = 0;    // backjump_mark before that attempt

  // ---- Output ----
  std::FILE* out = stdout;  // buffered; flushed before exits and after aborted attempts
  std::vector<Value> competition_model;  // --sat-competition: the model found, by atom number
  bool attempts_repeat = false;          // the restart loop stopped: attempts would repeat forever

  // options.cpp
  void parse_options(std::span<const std::string_view> words);
  void print_usage();

  // datum.cpp
  std::int32_t intern_datum(const Datum* datum);
  bool equal_data(const Datum* a, const Datum* b);
  std::string_view display_datum(const Datum* datum);

  // clause_input.cpp
  void read_clauses(std::span<const std::string_view> words);
  void read_integer_syntax(std::string_view text);
  void read_general_syntax(std::string_view text);
  void read_dimacs(std::string_view text);
  void add_clause(std::span<const std::int32_t> literals);
  void split_clause(std::int32_t l1, std::int32_t l2, std::span<const std::int32_t> rest,
                    std::int32_t length);
  void file_clause(std::span<const std::int32_t> literals);
  void compute_length_weights();
  void build_clause_records();

  // search.cpp
  void order_atoms();
  void reset_unit_stack();
  std::int64_t split_search(std::int32_t start, std::int64_t counter, std::int32_t depth);
  std::int64_t record_model(std::int64_t count);
  void restart_attempts();
  void push_unit(Clause* clause);
  void pop_satisfied_units();
  void shrink_clauses(std::span<Clause*> list);
  std::size_t propagate_shrink(std::span<Clause*> list);
  void unshrink_clauses(std::span<Clause*> list, std::size_t end);
  void satisfy_clauses(std::span<Clause*> list, Atom* atom);
  void unsatisfy_clauses(std::span<Clause*> list, Atom* atom);
  void adjust_open_weights(Clause* clause, std::int32_t from, std::int32_t to);
  Atom* look_ahead_select(std::int32_t position);
  std::int64_t current_positive_weight(const Atom* atom) const;
  std::int64_t current_negative_weight(const Atom* atom) const;
  bool first_value_true(const Atom* atom, std::int64_t counter) const;
  bool search_state_repeats() const;
  void save_search_state();

  // conflict_search.cpp
  void conflict_driven_search();

  // output.cpp
  void print_text(std::string_view text);
  void print_number(std::int64_t number);
  void print_atom_order();
  void print_model();
  void print_result_line();
  void make_labels();
  void record_competition_model();
  int print_competition_result();

  // run.cpp
  int quorvel(std::span<const std::string_view> words);
};

// Entry of the program: usage text without words, otherwise a run; returns the exit status.
int call_quorvel(std::span<const std::string_view> words);

// Converts an option argument the way strtol does, saturating at the 32-bit range.
std::int32_t read_setting(std::string_view word);

}  // namespace modelgen
