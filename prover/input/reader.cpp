// The problem reader: `input_clause(Name, Type, [Literals]).` entries.
//
// A hand-written lexer and a recursive-descent parser for the clause
// grammar.  The parser performs its actions bottom-up, in the order an LR
// parser reduces: a term's arguments before the term, an atom's arguments
// before the atom, a clause's literals before the clause.  That order numbers
// functors and predicates and fills every symbol list, so it is kept exactly.
// Errors are reported at the first token that cannot continue a valid prefix
// of the grammar.  Nesting is unbounded; the run's large stack carries the
// recursion.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

#include "common/memory_out.hpp"
#include "prover/prover.hpp"

namespace velkor {
namespace {

enum class Tok {
  kInputClause,
  kSymbol,
  kVariable,
  kPosSign,
  kNegSign,
  kOpenPar,
  kClosePar,
  kOpenBracket,
  kCloseBracket,
  kColon,
  kDot,
  kEoi,
  kOther,
};

const char* token_name(Tok t) {
  switch (t) {
    case Tok::kInputClause:
      return "INPUT_CLAUSE";
    case Tok::kSymbol:
      return "SYMBOL";
    case Tok::kVariable:
      return "VARIABLE";
    case Tok::kPosSign:
      return "POS_SIGN";
    case Tok::kNegSign:
      return "NEG_SIGN";
    case Tok::kOpenPar:
      return "OPENPAR";
    case Tok::kClosePar:
      return "CLOSEPAR";
    case Tok::kOpenBracket:
      return "OPENBRACKET";
    case Tok::kCloseBracket:
      return "CLOSEBRACKET";
    case Tok::kColon:
      return "COLON";
    case Tok::kDot:
      return "DOT";
    case Tok::kEoi:
      return "*EOI*";
    case Tok::kOther:
      return "";
  }
  return "";
}

bool is_identifier_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '+' || c == '-';
}

struct SymbolKey {
  const Name* name;
  std::int64_t arity;
  bool operator==(const SymbolKey&) const = default;
};

struct SymbolKeyHash {
  std::size_t operator()(const SymbolKey& k) const {
    return std::hash<const void*>()(k.name) * 31 + static_cast<std::size_t>(k.arity);
  }
};

struct SyntaxError {
  Tok token;
  char character;
  std::int64_t line;
  std::int64_t column;
};

class Parser {
 public:
  Parser(Prover& prover, std::string_view text) : p_(prover), text_(text) {
    name_axiom_ = p_.intern("axiom");
    name_lemma_ = p_.intern("lemma");
    name_hypothesis_ = p_.intern("hypothesis");
    name_conjecture_ = p_.intern("conjecture");
    advance();
  }

  void parse_formula() {
    while (tok_ == Tok::kInputClause) parse_clause();
    if (tok_ != Tok::kEoi) fail();
    end_of_file();
  }

 private:
  // ---- Lexer ----------------------------------------------------------------
  void advance() {
    for (;;) {
      if (pos_ >= text_.size()) {
        start_token();
        tok_ = Tok::kEoi;
        return;
      }
      char c = text_[pos_];
      if (c == ' ' || c == '\t' || c == '\n') {
        step();
      } else if (c == '%') {
        while (pos_ < text_.size() && text_[pos_] != '\n') step();
      } else {
        break;
      }
    }
    start_token();
    char c = text_[pos_];
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) {
      std::size_t begin = pos_;
      while (pos_ < text_.size() && is_identifier_char(text_[pos_])) step();
      std::string_view word = text_.substr(begin, pos_ - begin);
      if (c >= 'A' && c <= 'Z') {
        tok_ = Tok::kVariable;
        value_ = p_.intern(word);
      } else if (word == "input_clause") {
        tok_ = Tok::kInputClause;
      } else if (word == "equal") {
        tok_ = Tok::kSymbol;
        value_ = p_.name_equal;
      } else {
        tok_ = Tok::kSymbol;
        value_ = p_.intern(word);
      }
      return;
    }
    if ((c == '+' || c == '-') && pos_ + 1 < text_.size() && text_[pos_ + 1] == c) {
      tok_ = c == '+' ? Tok::kPosSign : Tok::kNegSign;
      step();
      step();
      return;
    }
    step();
    switch (c) {
      case '(':
        tok_ = Tok::kOpenPar;
        return;
      case ')':
        tok_ = Tok::kClosePar;
        return;
      case '[':
        tok_ = Tok::kOpenBracket;
        return;
      case ']':
        tok_ = Tok::kCloseBracket;
        return;
      case ',':
        tok_ = Tok::kColon;
        return;
      case '.':
        tok_ = Tok::kDot;
        return;
      default:
        tok_ = Tok::kOther;
        other_ = c;
        return;
    }
  }

  void step() {
    if (text_[pos_++] == '\n') {
      ++line_;
      line_start_ = pos_;
    }
  }

  void start_token() {
    tok_line_ = line_;
    tok_column_ = static_cast<std::int64_t>(pos_ - line_start_) + 1;
  }

  [[noreturn]] void fail() { throw SyntaxError{tok_, other_, tok_line_, tok_column_}; }

  void expect(Tok t) {
    if (tok_ != t) fail();
    advance();
  }

  const Name* take(Tok t) {
    if (tok_ != t) fail();
    const Name* v = value_;
    advance();
    return v;
  }

  // ---- Grammar ------------------------------------------------------------
  void parse_clause() {
    expect(Tok::kInputClause);
    expect(Tok::kOpenPar);
    std::vector<const Name*> name;
    parse_clause_name(name);
    expect(Tok::kColon);
    ClauseType type = type_step(take(Tok::kSymbol));
    expect(Tok::kColon);
    expect(Tok::kOpenBracket);
    std::vector<Literal> literals;
    literals.push_back(parse_literal());
    while (tok_ == Tok::kColon) {
      advance();
      literals.push_back(parse_literal());
    }
    expect(Tok::kCloseBracket);
    expect(Tok::kClosePar);
    expect(Tok::kDot);
    clause_step(name, type, literals);
  }

  void parse_clause_name(std::vector<const Name*>& name) {
    if (tok_ == Tok::kOpenPar) {
      advance();
      parse_clause_name(name);
      expect(Tok::kClosePar);
    } else if (tok_ == Tok::kVariable) {
      name.push_back(take(Tok::kVariable));
    } else {
      name.push_back(take(Tok::kSymbol));
      if (tok_ == Tok::kOpenPar) {
        advance();
        parse_clause_name(name);
        while (tok_ == Tok::kColon) {
          advance();
          parse_clause_name(name);
        }
        expect(Tok::kClosePar);
      }
    }
  }

  Literal parse_literal() {
    char sign;
    if (tok_ == Tok::kPosSign)
      sign = '+';
    else if (tok_ == Tok::kNegSign)
      sign = '-';
    else
      fail();
    advance();
    const Name* name = take(Tok::kSymbol);
    std::vector<Term*> args;
    if (tok_ == Tok::kOpenPar) parse_parameters(args);
    Literal literal{};
    if (args.empty()) {
      literal.predicate = find_predicate(name, 0);
      propositional_names_.insert(name);
    } else {
      if (name == p_.name_equal) ++p_.nr_eq_literals;
      literal.predicate = find_predicate(name, static_cast<std::int64_t>(args.size()));
      literal.args = store(args);
    }
    literal.sign = sign;
    if (sign == '+')
      ++positive_;
    else
      ++negative_;
    literal.number = positive_ + negative_;
    return literal;
  }

  void parse_parameters(std::vector<Term*>& args) {
    expect(Tok::kOpenPar);
    args.push_back(parse_term());
    while (tok_ == Tok::kColon) {
      advance();
      args.push_back(parse_term());
    }
    expect(Tok::kClosePar);
  }

  Term* parse_term() {
    common::check_stack();
    if (tok_ == Tok::kOpenPar) {
      advance();
      Term* inner = parse_term();
      expect(Tok::kClosePar);
      return inner;
    }
    if (tok_ == Tok::kVariable) return variable_step(take(Tok::kVariable));
    const Name* name = take(Tok::kSymbol);
    Term* term = p_.arena.make<Term>();
    if (tok_ == Tok::kOpenPar) {
      std::vector<Term*> args;
      parse_parameters(args);
      term->functor = find_functor(name, static_cast<std::int64_t>(args.size()));
      term->args = store(args);
    } else {
      term->functor = find_functor(name, 0);
      constant_names_.insert(name);
    }
    return term;
  }

  // ---- Actions ------------------------------------------------------------
  Term** store(const std::vector<Term*>& args) {
    Term** stored = p_.arena.array<Term*>(args.size());
    for (std::size_t i = 0; i < args.size(); ++i) stored[i] = args[i];
    return stored;
  }

  void note_symbol(Symbol* s) {
    if (clause_symbol_keys_.insert(SymbolKey{s->name, s->arity}).second)
      clause_symbols_.push_back(s);
  }

  Predicate* find_predicate(const Name* name, std::int64_t arity) {
    Predicate*& slot = predicates_[SymbolKey{name, arity}];
    if (slot == nullptr) {
      slot = p_.arena.make<Predicate>();
      slot->name = name;
      slot->arity = arity;
      slot->number = next_predicate_number_++;
      slot->signature_weight = 1;
      slot->is_predicate = true;
      slot->has_index = p_.sgindex;
      p_.predicate_list.push_back(slot);
    }
    note_symbol(slot);
    return slot;
  }

  Functor* find_functor(const Name* name, std::int64_t arity) {
    Functor*& slot = functors_[SymbolKey{name, arity}];
    if (slot == nullptr) {
      slot = p_.arena.make<Functor>();
      slot->name = name;
      slot->arity = arity;
      slot->number = next_functor_number_++;
      slot->signature_weight = 1;
      p_.functor_list.push_back(slot);
    }
    note_symbol(slot);
    return slot;
  }

  Term* variable_step(const Name* name) {
    auto found = variable_index_.find(name);
    if (found != variable_index_.end()) {
      ++variables_[found->second].second;
      return variables_[found->second].first;
    }
    Term* cell = p_.arena.make<Term>();
    cell->name = name;
    variable_index_.emplace(name, variables_.size());
    variables_.emplace_back(cell, 1);
    return cell;
  }

  ClauseType type_step(const Name* t) {
    if (t == name_axiom_) {
      ++p_.nr_axioms;
      return ClauseType::kAxiom;
    }
    if (t == name_lemma_) {
      ++p_.nr_lemmas;
      return ClauseType::kLemma;
    }
    if (t == name_hypothesis_) {
      ++p_.nr_hypotheses;
      return ClauseType::kHypothesis;
    }
    if (t == name_conjecture_) {
      ++p_.nr_conjectures;
      return ClauseType::kConjecture;
    }
    return ClauseType::kNone;
  }

  static std::int64_t list_size(Term** args, std::int64_t n) {
    std::int64_t size = 0;
    for (std::int64_t i = 0; i < n; ++i) {
      Term* t = args[i];
      size += 1;
      if (!is_variable(t)) size += list_size(t->args, t->functor->arity);
    }
    return size;
  }

  void clause_step(const std::vector<const Name*>& name, ClauseType type,
                   const std::vector<Literal>& literals) {
    Clause* clause = p_.arena.make<Clause>();
    clause->type = type;
    clause->name = p_.arena.array<const Name*>(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) clause->name[i] = name[i];
    clause->name_length = static_cast<std::int64_t>(name.size());
    clause->number = ++clause_counter_;
    std::int64_t n = static_cast<std::int64_t>(literals.size());
    clause->literals = p_.arena.array<Literal>(literals.size());
    for (std::size_t i = 0; i < literals.size(); ++i) clause->literals[i] = literals[i];
    clause->length = n;
    p_.nr_literals += n;
    if (n > p_.max_clause_size) p_.max_clause_size = n;
    if (n == 1) ++p_.nr_units;
    std::int64_t term_size = 0;
    for (std::int64_t i = 0; i < n; ++i) {
      Literal& l = clause->literals[i];
      l.clause = clause;
      l.connections = p_.arena.make<ConnectionList>();
      term_size += list_size(l.args, l.predicate->arity);
    }
    p_.append_copy(clause, p_.make_clause_copy(clause->literals, n, clause, nullptr));
    std::int64_t count = static_cast<std::int64_t>(variables_.size());
    clause->variables = p_.arena.array<Term*>(variables_.size());
    for (std::int64_t i = 0; i < count; ++i) {
      auto& [cell, occurrences] = variables_[static_cast<std::size_t>(count - 1 - i)];
      clause->variables[i] = cell;
      if (occurrences == 1) ++p_.nr_singleton_variables;
    }
    p_.nr_variables += count;
    clause->variable_count = count;
    clause->term_size = term_size - count;
    variables_.clear();
    variable_index_.clear();
    if (positive_ >= 2) ++p_.nr_non_horn;
    positive_ = negative_ = 0;
    clause->nr_symbols = static_cast<std::int64_t>(clause_symbols_.size());
    clause->symbols = p_.arena.array<Symbol*>(clause_symbols_.size());
    for (std::int64_t i = 0; i < clause->nr_symbols; ++i)
      clause->symbols[i] =
          clause_symbols_[clause_symbols_.size() - 1 - static_cast<std::size_t>(i)];
    clause_symbols_.clear();
    clause_symbol_keys_.clear();
    p_.formula_clauses.push_back(clause);
  }

  void end_of_file() {
    p_.nr_clauses = clause_counter_;
    p_.nr_predicates = static_cast<std::int64_t>(p_.predicate_list.size());
    p_.nr_propositionals = static_cast<std::int64_t>(propositional_names_.size());
    p_.nr_functors = static_cast<std::int64_t>(p_.functor_list.size());
    p_.nr_constants = static_cast<std::int64_t>(constant_names_.size());
    for (Predicate* s : p_.predicate_list) widen(p_.min_predicate_arity, p_.max_predicate_arity, s);
    for (Functor* s : p_.functor_list) widen(p_.min_functor_arity, p_.max_functor_arity, s);
    auto found = predicates_.find(SymbolKey{p_.name_equal, 2});
    if (found != predicates_.end()) p_.equal_predicate = found->second;
  }

  static void widen(std::int64_t& low, std::int64_t& high, const Symbol* s) {
    if (low < 0 || s->arity < low) low = s->arity;
    if (high < 0 || s->arity > high) high = s->arity;
  }

  Prover& p_;
  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t line_start_ = 0;
  std::int64_t line_ = 1;
  Tok tok_ = Tok::kEoi;
  const Name* value_ = nullptr;
  char other_ = 0;
  std::int64_t tok_line_ = 1, tok_column_ = 1;

  const Name *name_axiom_, *name_lemma_, *name_hypothesis_, *name_conjecture_;
  std::unordered_map<SymbolKey, Predicate*, SymbolKeyHash> predicates_;
  std::unordered_map<SymbolKey, Functor*, SymbolKeyHash> functors_;
  std::unordered_set<const Name*> propositional_names_, constant_names_;
  std::int64_t next_predicate_number_ = 1, next_functor_number_ = 1;
  std::int64_t clause_counter_ = 0;
  std::int64_t positive_ = 0, negative_ = 0;
  std::vector<std::pair<Term*, std::int64_t>> variables_;  // first occurrence order
  std::unordered_map<const Name*, std::size_t> variable_index_;
  std::vector<Symbol*> clause_symbols_;  // first-met order
  std::unordered_set<SymbolKey, SymbolKeyHash> clause_symbol_keys_;
};

}  // namespace

void Prover::parse_problem(std::string_view text) {
  try {
    Parser(*this, text).parse_formula();
  } catch (const SyntaxError& e) {
    flush();
    std::string token =
        e.token == Tok::kOther ? std::string(1, e.character) : std::string(token_name(e.token));
    std::fprintf(err, "parser: parse error (unexpected token `%s') at line %lld, column %lld\n",
                 token.c_str(), static_cast<long long>(e.line), static_cast<long long>(e.column));
    std::fflush(err);
    end_run(Outcome::kSyntaxError, 255);
  }
}

bool Prover::read_tptp(const std::string& file_name) {
  print(file_name);
  print(": ");
  struct stat info;
  if (stat(file_name.c_str(), &info) != 0) {
    print("File not found\n");
    end_run(Outcome::kFileError, 1);
  }
  print("Trying to parse\n");
  flush();
  std::string text;
  bool readable = false;
  int error = 0;
  if (S_ISDIR(info.st_mode)) {
    error = EISDIR;
  } else {
    std::ifstream in(file_name, std::ios::binary);
    if (in) {
      std::ostringstream contents;
      contents << in.rdbuf();
      readable = !in.bad();
      text = contents.str();
    }
    if (!readable) error = errno != 0 ? errno : EIO;
  }
  if (!readable) {
    std::fprintf(err, "velkor: cannot read problem file %s: %s\n", file_name.c_str(),
                 std::strerror(error));
    std::fflush(err);
    end_run(Outcome::kFileError, 1);
  }
  parse_problem(text);
  display_statistics();
  flush();
  return true;
}

void Prover::read_problem_text(const std::string& file_name, std::string_view text, bool report) {
  if (report) {
    print(file_name);
    print(": Trying to parse\n");
    flush();
  }
  parse_problem(text);
  if (report) display_statistics();
  flush();
}

}  // namespace velkor
