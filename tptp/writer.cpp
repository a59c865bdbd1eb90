#include "tptp/writer.hpp"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "tptp/error.hpp"

namespace tptp {
namespace {

bool all_digits(const std::string& text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The characters a fresh name may be made of; anything else becomes _.
std::string sanitize(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!keep) c = '_';
  }
  return result;
}

class NameSpace {
 public:
  void reserve(const std::string& name) { used_.insert(name); }

  // `base` itself when no name of this space has it yet, else base_2, base_3, ...
  std::string fresh(const std::string& base) {
    if (used_.insert(base).second) return base;
    for (std::size_t k = 2;; ++k) {
      std::string candidate = base + "_" + std::to_string(k);
      if (used_.insert(candidate).second) return candidate;
    }
  }

 private:
  std::unordered_set<std::string> used_;
};

// Whether velkor reads the name back, written as it is, as the same symbol.
bool keeps_spelling(const Symbol& symbol) {
  if (symbol.kind == SymbolKind::Plain) return symbol.spelling != "input_clause";
  return symbol.kind == SymbolKind::Number && all_digits(symbol.spelling);
}

std::string fresh_base(const Symbol& symbol) {
  switch (symbol.kind) {
    case SymbolKind::Plain:
      return "user_" + symbol.spelling;  // a reserved word
    case SymbolKind::Quoted:
      return "q_" + sanitize(symbol.spelling);
    case SymbolKind::System:
      return "sys_" + sanitize(symbol.spelling.substr(symbol.spelling.find_first_not_of('$')));
    case SymbolKind::Distinct:
      return "str_" + sanitize(symbol.spelling);
    case SymbolKind::Number:
      return "num_" + sanitize(symbol.spelling);
  }
  return "sym";
}

// A symbol together with the arity it is used with: TPTP lets one name
// stand for symbols of several arities, and each needs its own axioms.
struct Use {
  std::uint32_t symbol;
  std::uint32_t arity;
};

// Uses of symbols in order of first appearance, each once.
class Uses {
 public:
  void add(Use use) {
    std::uint64_t key = (std::uint64_t{use.symbol} << 32) | use.arity;
    if (seen_.insert(key).second) order_.push_back(use);
  }
  const std::vector<Use>& in_order() const { return order_; }

 private:
  std::unordered_set<std::uint64_t> seen_;
  std::vector<Use> order_;
};

class Writer {
 public:
  Writer(const Problem& problem, const WriteOptions& options)
      : problem_(problem), options_(options) {
    name_symbols();
  }

  Written run() {
    name_clauses();
    for (const Clause& clause : problem_.clauses) {
      if (!clause.always_true && clause.literals.empty())
        throw ConvertError(clause.file, clause.line,
                           "clause " + clause.name.spelling +
                               " is empty once its false literals are removed; the problem is "
                               "unsatisfiable as it stands, but an empty clause cannot be "
                               "written as an input_clause");
    }
    for (std::size_t i = 0; i < problem_.clauses.size(); ++i) clause(i);
    if (options_.equality_axioms != EqualityAxioms::kNone && has_equality_) equality_axioms();
    if (options_.distinct_objects && has_equality_) distinct_objects();
    return std::move(result_);
  }

 private:
  void name_symbols() {
    NameSpace space;
    std::optional<std::uint32_t> equal_symbol;
    for (std::uint32_t id = 0; id < problem_.symbol_count(); ++id) {
      const Symbol& symbol = problem_.symbol(id);
      if (keeps_spelling(symbol)) space.reserve(symbol.spelling);
    }
    symbol_names_.resize(problem_.symbol_count());
    for (std::uint32_t id = 0; id < problem_.symbol_count(); ++id) {
      const Symbol& symbol = problem_.symbol(id);
      symbol_names_[id] =
          keeps_spelling(symbol) ? symbol.spelling : space.fresh(fresh_base(symbol));
      if (symbol.kind == SymbolKind::Plain && symbol.spelling == "equal") equal_symbol = id;
    }
    // TPTP's equal is an ordinary predicate, velkor's is equality; a
    // predicate of the problem spelled equal must not take on its meaning.
    // As a function symbol the word is harmless and stays.
    if (equal_symbol) {
      user_equal_ = *equal_symbol;
      user_equal_name_ = space.fresh("user_equal");
      result_.tptp_spelling[user_equal_name_] = "equal";
    }
    for (std::uint32_t id = 0; id < problem_.symbol_count(); ++id) {
      const Symbol& symbol = problem_.symbol(id);
      if (!keeps_spelling(symbol)) result_.tptp_spelling[symbol_names_[id]] = tptp_text(symbol);
    }
  }

  void name_clauses() {
    NameSpace& space = clause_space_;
    for (const Clause& clause : problem_.clauses)
      if (keeps_spelling(clause.name)) space.reserve(clause.name.spelling);
    std::unordered_map<std::string, std::string> renamed;
    for (const Clause& clause : problem_.clauses) {
      if (keeps_spelling(clause.name)) {
        clause_names_.push_back(clause.name.spelling);
        continue;
      }
      auto [it, inserted] = renamed.try_emplace(clause.name_key);
      if (inserted) {
        const Symbol& name = clause.name;
        it->second = space.fresh(name.kind == SymbolKind::Plain ? "user_" + name.spelling
                                                                : "c_" + sanitize(name.spelling));
      }
      clause_names_.push_back(it->second);
    }
  }

  // Variables keep their names except those that start with _, which
  // velkor would not read as variables.
  void name_variables(const Clause& clause) {
    variable_names_ = clause.variables;
    NameSpace space;
    for (const std::string& name : clause.variables)
      if (name[0] != '_') space.reserve(name);
    for (std::string& name : variable_names_)
      if (name[0] == '_') name = space.fresh("V" + name);
  }

  void term(std::uint32_t index) {
    const Term& t = problem_.terms[index];
    if (t.is_variable) {
      out_ += variable_names_[t.id];
      return;
    }
    out_ += symbol_names_[t.id];
    if (t.arity > 0) clause_functions_.push_back({t.id, t.arity});
    if (denotes_distinct_object(problem_.symbol(t.id), options_.free_numbers))
      clause_objects_.push_back(t.id);
    arguments(t);
  }

  void arguments(const Term& t) {
    if (t.arity == 0) return;
    out_ += '(';
    for (std::uint32_t i = 0; i < t.arity; ++i) {
      if (i > 0) out_ += ',';
      term(problem_.args[t.first_arg + i]);
    }
    out_ += ')';
  }

  const std::string& predicate_name(std::uint32_t symbol) const {
    return symbol == user_equal_ ? user_equal_name_ : symbol_names_[symbol];
  }

  void atom(const Literal& literal) {
    if (literal.equality) {
      clause_has_equality_ = true;
      out_ += "equal(";
      term(literal.left);
      out_ += ',';
      term(literal.right);
      out_ += ')';
      return;
    }
    const Term& t = problem_.terms[literal.left];
    out_ += predicate_name(t.id);
    if (t.arity > 0) clause_predicates_.push_back({t.id, t.arity});
    arguments(t);
  }

  void clause(std::size_t index) {
    const Clause& clause = problem_.clauses[index];
    // A clause with a true literal holds in every interpretation and adds
    // nothing to the problem.
    if (clause.always_true) {
      ++result_.dropped;
      return;
    }
    name_variables(clause);
    out_.clear();
    out_ += "input_clause(";
    out_ += clause_names_[index];
    out_ += clause.role == Role::Conjecture   ? ",conjecture,["
            : clause.role == Role::Hypothesis ? ",hypothesis,["
                                              : ",axiom,[";
    spans_.clear();
    clause_functions_.clear();
    clause_predicates_.clear();
    clause_objects_.clear();
    clause_has_equality_ = false;
    for (std::size_t i = 0; i < clause.literals.size(); ++i) {
      const Literal& literal = clause.literals[i];
      if (i > 0) out_ += ',';
      out_ += literal.positive ? "++" : "--";
      std::size_t start = out_.size();
      atom(literal);
      spans_.push_back({start, out_.size() - start, literal.positive});
    }
    out_ += "]).\n";
    if (!options_.keep_tautologies && complementary()) {
      ++result_.dropped;
      return;
    }
    result_.text += out_;
    result_.entries.push_back(WrittenClause{index, clause_names_[index]});
    ++result_.clauses;
    // Only what is written needs equality axioms: symbols of clauses left
    // out do not occur in the clause set velkor sees.
    has_equality_ = has_equality_ || clause_has_equality_;
    for (Use use : clause_functions_) functions_.add(use);
    for (Use use : clause_predicates_) predicates_.add(use);
    for (std::uint32_t object : clause_objects_) objects_.add({object, 0});
  }

  // Whether the clause just written has an atom both positive and negative,
  // which makes it a tautology.  Renaming is one-to-one, so equal output
  // text means the same atom.
  bool complementary() const {
    std::unordered_map<std::string_view, unsigned> signs;
    for (const Span& span : spans_) {
      unsigned& seen = signs[std::string_view(out_).substr(span.start, span.length)];
      seen |= span.positive ? 1u : 2u;
      if (seen == 3u) return true;
    }
    return false;
  }

  // Reflexivity, symmetry and transitivity of equal, then for every
  // argument position of every function and predicate written that
  // replacing an argument by an equal one preserves the value or the truth.
  // Their names are fresh among the problem's clause names.
  void equality_axioms() {
    axiom("eq_reflexivity", "++equal(X,X)");
    if (options_.equality_axioms == EqualityAxioms::kReflexivity) return;
    axiom("eq_symmetry", "--equal(X,Y),++equal(Y,X)");
    axiom("eq_transitivity", "--equal(X,Y),--equal(Y,Z),++equal(X,Z)");
    for (Use use : functions_.in_order()) {
      const std::string& name = symbol_names_[use.symbol];
      for (std::uint32_t i = 0; i < use.arity; ++i)
        axiom("eq_subst_" + name + "_" + std::to_string(i + 1),
              "--equal(X,Y),++equal(" + name + arguments_with(use.arity, i, "X") + "," + name +
                  arguments_with(use.arity, i, "Y") + ")");
    }
    for (Use use : predicates_.in_order()) {
      const std::string& name = predicate_name(use.symbol);
      for (std::uint32_t i = 0; i < use.arity; ++i)
        axiom("eq_subst_" + name + "_" + std::to_string(i + 1),
              "--equal(X,Y),--" + name + arguments_with(use.arity, i, "X") + ",++" + name +
                  arguments_with(use.arity, i, "Y"));
    }
  }

  // Every two distinct objects of the written clauses are unequal.
  void distinct_objects() {
    const std::vector<Use>& objects = objects_.in_order();
    for (std::size_t i = 0; i < objects.size(); ++i)
      for (std::size_t j = i + 1; j < objects.size(); ++j) {
        const std::string& a = symbol_names_[objects[i].symbol];
        const std::string& b = symbol_names_[objects[j].symbol];
        std::string written = clause_space_.fresh("distinct_" + a + "_" + b);
        result_.text += "input_clause(" + written + ",axiom,[--equal(" + a + "," + b + ")]).\n";
        result_.entries.push_back(WrittenClause{WrittenClause::kDistinctObjects, written});
        ++result_.distinct_objects;
      }
  }

  // (A1,...,An) with `variable` in place of the argument at `position`.
  static std::string arguments_with(std::uint32_t arity, std::uint32_t position,
                                    const char* variable) {
    std::string text = "(";
    for (std::uint32_t i = 0; i < arity; ++i) {
      if (i > 0) text += ',';
      text += i == position ? std::string(variable) : "A" + std::to_string(i + 1);
    }
    return text + ")";
  }

  void axiom(const std::string& name, const std::string& literals) {
    std::string written = clause_space_.fresh(name);
    result_.text += "input_clause(" + written + ",axiom,[" + literals + "]).\n";
    result_.entries.push_back(WrittenClause{WrittenClause::kEqualityAxiom, written});
    ++result_.equality_axioms;
  }

  struct Span {
    std::size_t start;
    std::size_t length;
    bool positive;
  };

  const Problem& problem_;
  const WriteOptions& options_;
  std::vector<std::string> symbol_names_;
  std::uint32_t user_equal_ = UINT32_MAX;
  std::string user_equal_name_;
  std::vector<std::string> clause_names_;
  NameSpace clause_space_;  // every clause name of the problem, then the axioms'
  std::vector<std::string> variable_names_;
  std::string out_;  // the clause being written
  std::vector<Span> spans_;
  std::vector<Use> clause_functions_, clause_predicates_;  // of the clause being written
  std::vector<std::uint32_t> clause_objects_;              // distinct objects in it
  bool clause_has_equality_ = false;
  bool has_equality_ = false;  // in a written clause
  Uses functions_, predicates_, objects_;
  Written result_;
};

}  // namespace

std::string tptp_text(const Symbol& symbol) {
  auto quoted = [&](char quote) {
    std::string text(1, quote);
    for (char c : symbol.spelling) {
      if (c == quote || c == '\\') text += '\\';
      text += c;
    }
    return text + quote;
  };
  switch (symbol.kind) {
    case SymbolKind::Quoted:
      return quoted('\'');
    case SymbolKind::Distinct:
      return quoted('"');
    case SymbolKind::Plain:
    case SymbolKind::System:
    case SymbolKind::Number:
      break;
  }
  return symbol.spelling;
}

namespace {

// A variable's name as TPTP reads it: an upper-case letter, then letters,
// digits and underscores.
bool is_variable_name(const std::string& s) {
  if (s.empty() || s[0] < 'A' || s[0] > 'Z') return false;
  for (char c : s)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
  return true;
}

}  // namespace

std::string term_text(const Problem& problem, std::uint32_t root,
                      const std::vector<std::string>& names) {
  std::string out;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> stack{{root, 0}};
  while (!stack.empty()) {
    const auto [at, next] = stack.back();
    const Term& t = problem.terms[at];
    if (t.is_variable) {
      out += names[t.id];
      stack.pop_back();
      continue;
    }
    if (next == 0) {
      out += tptp_text(problem.symbol(t.id));
      if (t.arity > 0) out += '(';
    }
    if (next < t.arity) {
      if (next > 0) out += ',';
      stack.back().second = next + 1;
      stack.emplace_back(problem.args[t.first_arg + next], 0);
      continue;
    }
    if (t.arity > 0) out += ')';
    stack.pop_back();
  }
  return out;
}

std::string literal_text(const Problem& problem, const Literal& l,
                         const std::vector<std::string>& names) {
  if (l.equality)
    return term_text(problem, l.left, names) + (l.positive ? " = " : " != ") +
           term_text(problem, l.right, names);
  return (l.positive ? "" : "~") + term_text(problem, l.left, names);
}

std::vector<std::string> clause_variable_names(const Clause& clause) {
  // Names as written, unless two are alike or one is not a variable's.
  std::vector<std::string> names = clause.variables;
  std::unordered_set<std::string> seen;
  bool as_written = true;
  for (const std::string& name : names)
    as_written = as_written && is_variable_name(name) && seen.insert(name).second;
  if (!as_written)
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = "X" + std::to_string(i + 1);
  return names;
}

std::string clause_text(const Problem& problem, const Clause& clause) {
  const std::vector<std::string> names = clause_variable_names(clause);
  std::string text;
  for (const Literal& l : clause.literals)
    text += (text.empty() ? "" : " | ") + literal_text(problem, l, names);
  return text.empty() ? "$false" : text;
}

Written write_problem(const Problem& problem, const WriteOptions& options) {
  return Writer(problem, options).run();
}

}  // namespace tptp
