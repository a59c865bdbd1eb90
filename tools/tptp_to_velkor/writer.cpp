#include "tools/tptp_to_velkor/writer.hpp"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "tools/tptp_to_velkor/error.hpp"

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

class Writer {
 public:
  explicit Writer(const Problem& problem) : problem_(problem) { name_symbols(); }

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
    }
  }

  void name_clauses() {
    NameSpace space;
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

  void atom(const Literal& literal) {
    if (literal.equality) {
      out_ += "equal(";
      term(literal.left);
      out_ += ',';
      term(literal.right);
      out_ += ')';
      return;
    }
    const Term& t = problem_.terms[literal.left];
    out_ += t.id == user_equal_ ? user_equal_name_ : symbol_names_[t.id];
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
    for (std::size_t i = 0; i < clause.literals.size(); ++i) {
      const Literal& literal = clause.literals[i];
      if (i > 0) out_ += ',';
      out_ += literal.positive ? "++" : "--";
      std::size_t start = out_.size();
      atom(literal);
      spans_.push_back({start, out_.size() - start, literal.positive});
    }
    out_ += "]).\n";
    // A clause with an atom both positive and negative is a tautology too.
    // Renaming is one-to-one, so equal output text means the same atom.
    std::unordered_map<std::string_view, unsigned> signs;
    for (const Span& span : spans_) {
      unsigned& seen = signs[std::string_view(out_).substr(span.start, span.length)];
      seen |= span.positive ? 1u : 2u;
      if (seen == 3u) {
        ++result_.dropped;
        return;
      }
    }
    result_.text += out_;
    ++result_.clauses;
  }

  struct Span {
    std::size_t start;
    std::size_t length;
    bool positive;
  };

  const Problem& problem_;
  std::vector<std::string> symbol_names_;
  std::uint32_t user_equal_ = UINT32_MAX;
  std::string user_equal_name_;
  std::vector<std::string> clause_names_;
  std::vector<std::string> variable_names_;
  std::string out_;  // the clause being written
  std::vector<Span> spans_;
  Written result_;
};

}  // namespace

Written write_problem(const Problem& problem) {
  return Writer(problem).run();
}

}  // namespace tptp
