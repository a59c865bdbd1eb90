// Clause input: from the clause file to clause and atom records.
//
// Three readers feed one normaliser.  The integer syntax holds one list of
// non-zero integers per clause; the general syntax one list (<pos> <neg> ...)
// of arbitrary data, interned as atom numbers; DIMACS files, recognised by
// their "p cnf" header, hold zero-terminated integer clauses.  Each clause
// loses duplicate literals (keeping the last occurrence) or, holding a
// literal and its negation, is dropped; long clauses may be split with new
// atoms.  Clauses are filed in buckets by length, so each length's weight is
// computed once and the records come out longest first without sorting.
// Records are then made in two passes over the buckets: the first counts
// occurrences so that every occurrence list gets its exact slice of one
// preallocated pool, the second fills the lists back to front, which gives
// them the order of lists built by adding at the front.
#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "common/decimal.hpp"
#include "modelgen/model_generator.hpp"

namespace modelgen {
namespace {

// The whole file as one string; reports and stops when it cannot be read.
std::string read_whole_file(const std::string& name) {
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (file == nullptr) {
    std::fprintf(stderr, "quorvel: cannot open clause file %s: %s\n", name.c_str(),
                 std::strerror(errno));
    throw RunStopped{kStatusInputError};
  }
  std::string text;
  char buffer[1 << 16];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
  bool failed = std::ferror(file) != 0;
  int error = errno;
  std::fclose(file);
  if (failed) {
    std::fprintf(stderr, "quorvel: cannot read clause file %s: %s\n", name.c_str(),
                 std::strerror(error));
    throw RunStopped{kStatusInputError};
  }
  return text;
}

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

// Splits `line` at blanks; returns the words.
std::vector<std::string_view> words_of(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && is_blank(line[i])) ++i;
    std::size_t begin = i;
    while (i < line.size() && !is_blank(line[i])) ++i;
    if (i > begin) words.push_back(line.substr(begin, i - begin));
  }
  return words;
}

// A decimal integer of the clause file; a word that is not one, or one
// beyond 64 bits, is malformed input of line `line`.
std::int64_t dimacs_integer(std::string_view word, std::uint32_t line) {
  std::int64_t value = 0;
  switch (common::parse_decimal(word, value)) {
    case common::DecimalStatus::kOk:
      return value;
    case common::DecimalStatus::kNotDecimal:
      throw InputError{line, "expected an integer, found \"" + std::string(word) + "\""};
    case common::DecimalStatus::kOutOfRange:
      break;
  }
  throw InputError{line, "integer out of range: \"" + std::string(word) + "\""};
}

// Calls `visit(line, number)` for each line of `text`.
template <typename Visit>
void for_each_line(std::string_view text, Visit visit) {
  std::uint32_t number = 1;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(begin, end - begin);
    while (!line.empty() && is_blank(line.front())) line.remove_prefix(1);
    if (!visit(line, number)) return;
    begin = end + 1;
    ++number;
  }
}

// True when the first line that is neither blank nor a comment ("c ...") is
// a "p cnf" header.
bool has_dimacs_header(std::string_view text) {
  bool header = false;
  for_each_line(text, [&](std::string_view line, std::uint32_t) {
    if (line.empty() || line[0] == 'c') return true;
    std::vector<std::string_view> words = words_of(line);
    header = words.size() >= 2 && words[0] == "p" && words[1] == "cnf";
    return false;
  });
  return header;
}

std::int32_t checked_literal(std::int64_t value, std::uint32_t line) {
  if (value == 0) throw InputError{line, "the literal 0 is not allowed"};
  if (value < -kInputAtomLimit || value > kInputAtomLimit) {
    // The atom number is the magnitude, which for the most negative 64-bit
    // value exists only as an unsigned number.
    std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    throw InputError{line, "atom number " + std::to_string(magnitude) + " outside 1 to 65536"};
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace

void ModelGenerator::read_clauses(std::span<const std::string_view> words) {
  file_name = std::string(words.back());
  // A budget of zero or less leaves room for no split atom, so no clause is split.
  atom_limit = kInputAtomLimit + (split_long_clauses ? std::max(0, split_budget) : 0);
  std::string text = read_whole_file(file_name);
  literal_marks.assign(2 * static_cast<std::size_t>(kInputAtomLimit) + 1, 0);
  try {
    if (has_dimacs_header(text)) {
      dimacs_input = true;
      read_dimacs(text);
    } else if (generic_input) {
      if (sat_competition) {
        // The competition model lists atoms by number; general-syntax atoms have none.
        std::fprintf(stderr,
                     "quorvel: --sat-competition needs numbered atoms (a DIMACS file or the "
                     "integer syntax), not -geninput\n");
        throw RunStopped{kStatusParameterError};
      }
      read_general_syntax(text);
    } else {
      read_integer_syntax(text);
    }
  } catch (const InputError& error) {
    std::fflush(out);
    std::fprintf(stderr, "quorvel: %s:%u: %s\n", file_name.c_str(), error.line,
                 error.message.c_str());
    throw RunStopped{kStatusInputError};
  }
  build_clause_records();
}

void ModelGenerator::read_integer_syntax(std::string_view text) {
  Arena scratch;  // the data of this syntax are not needed after their clause is filed
  DatumReader reader(text, scratch);
  std::vector<std::int32_t> literals;
  while (const Datum* datum = reader.next()) {
    if (datum->kind != Datum::Kind::kList)
      throw InputError{datum->line, "a clause must be a list of non-zero integers"};
    literals.clear();
    for (const Datum* element : datum->elements) {
      if (element->kind != Datum::Kind::kInteger)
        throw InputError{element->line, "a literal must be a non-zero integer"};
      literals.push_back(checked_literal(element->integer, element->line));
      variable_count = std::max<std::int64_t>(variable_count, std::abs(literals.back()));
    }
    ++clause_count;
    add_clause(literals);
  }
}

void ModelGenerator::read_general_syntax(std::string_view text) {
  DatumReader reader(text, arena);
  std::vector<std::int32_t> literals;
  while (const Datum* datum = reader.next()) {
    if (datum->kind != Datum::Kind::kList || datum->elements.size() < 2 ||
        datum->elements[0]->kind != Datum::Kind::kList ||
        datum->elements[1]->kind != Datum::Kind::kList)
      throw InputError{datum->line,
                       "a clause must be a list (<pos> <neg>) of two lists of literals"};
    literals.clear();
    for (const Datum* literal : datum->elements[0]->elements)
      literals.push_back(intern_datum(literal));
    for (const Datum* literal : datum->elements[1]->elements)
      literals.push_back(-intern_datum(literal));
    ++clause_count;
    add_clause(literals);
  }
}

void ModelGenerator::read_dimacs(std::string_view text) {
  bool header_read = false;
  std::int64_t declared_atoms = 0, declared_clauses = 0, clauses = 0;
  std::uint32_t header_line = 1, clause_line = 0;
  std::vector<std::int32_t> literals;
  for_each_line(text, [&](std::string_view line, std::uint32_t number) {
    if (line.empty() || line[0] == 'c') return true;
    if (line[0] == '%') return false;  // SATLIB trailer: "%" and "0" end the data
    std::vector<std::string_view> words = words_of(line);
    if (!header_read) {
      // A header count beyond 64 bits is out of range like any other number;
      // anything else that is not a count leaves the header malformed.
      auto count = [&](std::string_view word) -> std::int64_t {
        std::int64_t value = 0;
        if (common::parse_decimal(word, value) == common::DecimalStatus::kNotDecimal) return -1;
        return dimacs_integer(word, number);
      };
      if (words.size() != 4 || (declared_atoms = count(words[2])) < 0 ||
          (declared_clauses = count(words[3])) < 0)
        throw InputError{number, "malformed header, expected \"p cnf <atoms> <clauses>\""};
      if (declared_atoms > kInputAtomLimit)
        throw InputError{number, "more than 65536 atoms declared"};
      header_read = true;
      header_line = number;
      variable_count = declared_atoms;
      return true;
    }
    for (std::string_view word : words) {
      std::int64_t value = dimacs_integer(word, number);
      if (value == 0) {
        ++clause_count;
        ++clauses;
        add_clause(literals);
        literals.clear();
        continue;
      }
      if (value < -declared_atoms || value > declared_atoms)
        throw InputError{number, "literal " + std::string(word) +
                                     " outside the declared atoms 1 to " +
                                     std::to_string(declared_atoms)};
      if (literals.empty()) clause_line = number;
      literals.push_back(static_cast<std::int32_t>(value));
    }
    return true;
  });
  if (!literals.empty()) throw InputError{clause_line, "clause not ended by 0"};
  if (clauses != declared_clauses)
    throw InputError{header_line, "the header declares " + std::to_string(declared_clauses) +
                                      " clauses, the file holds " + std::to_string(clauses)};
}

// Keeps the last occurrence of each literal, in the order of those last
// occurrences; drops the clause when it holds a literal and its negation.
// Walking from the right, a literal is dropped when it was already seen and
// the clause when its negation was.
void ModelGenerator::add_clause(std::span<const std::int32_t> literals) {
  if (++clause_serial == 0) {
    std::fill(literal_marks.begin(), literal_marks.end(), 0);
    clause_serial = 1;
  }
  auto mark = [&](std::int32_t literal) -> std::uint32_t& {
    return literal_marks[static_cast<std::size_t>(literal + kInputAtomLimit)];
  };
  kept_literals.clear();
  for (std::size_t i = literals.size(); i-- > 0;) {
    std::int32_t x = literals[i];
    if (mark(-x) == clause_serial) return;  // tautology: counted, never filed
    if (mark(x) == clause_serial) continue;
    mark(x) = clause_serial;
    kept_literals.push_back(x);
  }
  std::reverse(kept_literals.begin(), kept_literals.end());
  auto length = static_cast<std::int32_t>(kept_literals.size());
  if (length == 0) {
    empty_clause_read = true;
    return;
  }
  if (split_long_clauses && length >= 4 && split_counter < atom_limit) {
    split_clause(kept_literals[0], kept_literals[1], std::span(kept_literals).subspan(2), length);
    return;
  }
  file_clause(kept_literals);
}

// Files `literals` at the front of its length bucket (the back of the vector).
void ModelGenerator::file_clause(std::span<const std::int32_t> literals) {
  auto offset = static_cast<std::uint32_t>(literal_pool.size());
  literal_pool.insert(literal_pool.end(), literals.begin(), literals.end());
  auto length = static_cast<std::uint32_t>(literals.size());
  std::size_t bucket = std::min<std::size_t>(length, kMaxBucketLength);
  length_buckets[bucket].push_back({offset, length});
}

// The new atom n stands for "l1 and l2 are both false": (l1 l2 n) and
// (-l1 -n), (-l2 -n) define it, and n replaces l1 l2 in the rest of the clause.
void ModelGenerator::split_clause(std::int32_t l1, std::int32_t l2,
                                  std::span<const std::int32_t> rest, std::int32_t length) {
  for (;;) {
    std::int32_t n = ++split_counter;
    file_clause(std::array{l1, l2, n});
    file_clause(std::array{-l2, -n});
    file_clause(std::array{-l1, -n});  // filed last, so ahead of (-l2 -n)
    --length;
    if (length > 3 && split_counter < atom_limit) {
      l1 = -n;
      l2 = rest.front();
      rest = rest.subspan(1);
      continue;
    }
    auto offset = static_cast<std::uint32_t>(literal_pool.size());
    literal_pool.push_back(-n);
    literal_pool.insert(literal_pool.end(), rest.begin(), rest.end());
    std::size_t bucket = std::min<std::size_t>(static_cast<std::size_t>(length), kMaxBucketLength);
    length_buckets[bucket].push_back({offset, static_cast<std::uint32_t>(length)});
    return;
  }
}

// w(l) = 1/(l^i), scaled so that one unit clause weighs 2^29 - 1 divided by
// the number of clauses read; every clause weighs at least 1.
void ModelGenerator::compute_length_weights() {
  std::int32_t exponent = divisor_exponent;
  if (exponent < 0 || exponent > 6) {
    print_text("\nError: wrong clause divisor!");
    throw RunStopped{kStatusParameterError};
  }
  // Without any clause no weight is ever used; one clause keeps the division defined.
  std::int64_t n = std::max<std::int64_t>(clause_count, 1);
  for (std::int64_t l = kMaxBucketLength; l >= 1; --l) {
    std::int64_t power = 1;
    for (std::int32_t k = 0; k < exponent && power <= kWeightScale; ++k) power *= l;
    power = std::min(power, kWeightScale);
    length_weights[static_cast<std::size_t>(l)] =
        std::max<std::int64_t>(1, (kWeightScale / n) / power);
  }
  length_weights[0] = length_weights[1];
}

void ModelGenerator::build_clause_records() {
  compute_length_weights();

  // Pass 1: the order in which atoms are first met, and occurrence counts.
  std::vector<std::int32_t> record_of(static_cast<std::size_t>(atom_limit) + 1, -1);
  std::vector<std::uint32_t> positive_count, negative_count;
  std::size_t clauses = 0, occurrences = 0;
  for (std::size_t l = kMaxBucketLength; l >= 1; --l) {
    const std::vector<FiledClause>& bucket = length_buckets[l];
    clauses += bucket.size();
    for (auto entry = bucket.rbegin(); entry != bucket.rend(); ++entry) {
      for (std::uint32_t k = 0; k < entry->length; ++k) {
        std::int32_t literal = literal_pool[entry->offset + k];
        std::int32_t number = literal < 0 ? -literal : literal;
        std::int32_t& record = record_of[static_cast<std::size_t>(number)];
        if (record < 0) {
          record = static_cast<std::int32_t>(atom_records.size());
          atom_records.push_back(Atom{{}, {}, 0, 0, 0, number, Value::kUnassigned});
          positive_count.push_back(0);
          negative_count.push_back(0);
        }
        ++(literal > 0 ? positive_count : negative_count)[static_cast<std::size_t>(record)];
        ++occurrences;
      }
    }
  }

  // Every list gets its slice of the pools; the cursors then fill them back to front.
  occurrence_pool.assign(occurrences, nullptr);
  member_pool.assign(occurrences, nullptr);
  clause_records.assign(clauses, Clause{});
  atom_table.assign(static_cast<std::size_t>(atom_limit) + 1, nullptr);
  std::vector<std::uint32_t> positive_fill(positive_count), negative_fill(negative_count);
  std::size_t used = 0;
  for (std::size_t r = 0; r < atom_records.size(); ++r) {
    Atom& atom = atom_records[r];
    atom.positive_clauses = {occurrence_pool.data() + used, positive_count[r]};
    used += positive_count[r];
    atom.negative_clauses = {occurrence_pool.data() + used, negative_count[r]};
    used += negative_count[r];
    atom_table[static_cast<std::size_t>(atom.number)] = &atom;
  }
  atom_count = static_cast<std::int32_t>(atom_records.size());
  for (auto atom = atom_records.rbegin(); atom != atom_records.rend(); ++atom)
    (atom->number > kInputAtomLimit ? split_atoms : atoms).push_back(&*atom);

  // Pass 2: clause records, both directions of every link, weight sums.
  std::size_t members = 0;
  std::size_t number = 0;
  for (std::size_t l = kMaxBucketLength; l >= 1; --l) {
    std::int64_t weight = length_weights[l];
    const std::vector<FiledClause>& bucket = length_buckets[l];
    for (auto entry = bucket.rbegin(); entry != bucket.rend(); ++entry) {
      std::span<const std::int32_t> literals(literal_pool.data() + entry->offset, entry->length);
      auto positives = static_cast<std::size_t>(
          std::count_if(literals.begin(), literals.end(), [](std::int32_t x) { return x > 0; }));
      Clause& clause = clause_records[number];
      clause.satisfied_by = nullptr;
      clause.open_count = static_cast<std::int32_t>(entry->length);
      clause.positive_atoms = {member_pool.data() + members, positives};
      clause.negative_atoms = {member_pool.data() + members + positives,
                               literals.size() - positives};
      clause.clause_number = static_cast<std::int32_t>(++number);
      members += literals.size();
      std::size_t positive_fill_clause = positives;
      std::size_t negative_fill_clause = literals.size() - positives;
      for (std::int32_t literal : literals) {
        auto record = static_cast<std::size_t>(
            record_of[static_cast<std::size_t>(literal < 0 ? -literal : literal)]);
        Atom& atom = atom_records[record];
        if (literal > 0) {
          atom.positive_clauses[--positive_fill[record]] = &clause;
          atom.positive_weight += weight;
          clause.positive_atoms[--positive_fill_clause] = &atom;
        } else {
          atom.negative_clauses[--negative_fill[record]] = &clause;
          atom.negative_weight += weight;
          clause.negative_atoms[--negative_fill_clause] = &atom;
        }
      }
      if (l == 1) unit_clauses.push_back(&clause);
    }
  }
  // Bucket 1 lists the last-read unit clause first; the unit list is in reading order.
  std::reverse(unit_clauses.begin(), unit_clauses.end());

  unit_stack.assign(std::max<std::size_t>(clause_records.size(), 1), nullptr);
  reset_unit_stack();
  order_atoms();
}

}  // namespace modelgen
