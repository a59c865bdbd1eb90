#include "tests/tools/input_clause_reader.hpp"

#include <map>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

namespace tools_testing {
namespace {

enum class T { InputClause, Symbol, Variable, Pos, Neg, LP, RP, LB, RB, Comma, Dot, End, Bad };

struct Token {
  T kind;
  std::string text;
  int line;
};

bool ident(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '+' || c == '-';
}

std::vector<Token> tokenize(const std::string& s) {
  std::vector<Token> tokens;
  int line = 1;
  std::size_t i = 0;
  while (true) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '%')) {
      if (s[i] == '%')
        while (i < s.size() && s[i] != '\n') ++i;
      else if (s[i++] == '\n')
        ++line;
    }
    if (i >= s.size()) break;
    char c = s[i];
    bool lower_or_digit = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (lower_or_digit || (c >= 'A' && c <= 'Z')) {
      std::size_t start = i;
      while (i < s.size() && ident(s[i])) ++i;
      std::string word = s.substr(start, i - start);
      T kind = !lower_or_digit ? T::Variable : word == "input_clause" ? T::InputClause : T::Symbol;
      tokens.push_back({kind, word, line});
    } else if ((c == '+' || c == '-') && i + 1 < s.size() && s[i + 1] == c) {
      tokens.push_back({c == '+' ? T::Pos : T::Neg, std::string(2, c), line});
      i += 2;
    } else {
      static const std::string punctuation = "()[],.";
      std::size_t p = punctuation.find(c);
      static const T kinds[] = {T::LP, T::RP, T::LB, T::RB, T::Comma, T::Dot};
      tokens.push_back({p == std::string::npos ? T::Bad : kinds[p], std::string(1, c), line});
      ++i;
    }
  }
  tokens.push_back({T::End, "*EOI*", line});
  return tokens;
}

class Parser {
 public:
  explicit Parser(const std::string& text) : tokens_(tokenize(text)) {}

  ClauseSetStats run() {
    while (peek().kind != T::End) clause();
    ClauseSetStats& s = stats_;
    s.predicates = predicates_.size();
    s.functors = functors_.size();
    s.propositional = propositional_.size();
    s.constants = constants_.size();
    s.predicate_arities = range(predicates_);
    s.functor_arities = range(functors_);
    for (const auto& [name, arity] : functors_) s.functor_positions += arity;
    for (const auto& [name, arity] : predicates_)
      if (!(name == "equal" && arity == 2)) s.predicate_positions += arity;
    return s;
  }

 private:
  const Token& peek() const { return tokens_[pos_]; }
  Token expect(T kind) {
    if (peek().kind != kind)
      throw std::runtime_error("line " + std::to_string(peek().line) + ": unexpected token `" +
                               peek().text + "'");
    return tokens_[pos_++];
  }
  bool accept(T kind) {
    if (peek().kind != kind) return false;
    ++pos_;
    return true;
  }

  static std::string range(const std::set<std::pair<std::string, std::size_t>>& symbols) {
    if (symbols.empty()) return "---";
    std::size_t low = SIZE_MAX, high = 0;
    for (const auto& entry : symbols) {
      low = std::min(low, entry.second);
      high = std::max(high, entry.second);
    }
    return std::to_string(low) + "-" + std::to_string(high);
  }

  void clause_name() {
    if (accept(T::LP)) {
      clause_name();
      expect(T::RP);
    } else if (accept(T::Variable)) {
    } else {
      expect(T::Symbol);
      if (accept(T::LP)) {
        do clause_name();
        while (accept(T::Comma));
        expect(T::RP);
      }
    }
  }

  void clause() {
    expect(T::InputClause);
    expect(T::LP);
    clause_name();
    expect(T::Comma);
    Token type = expect(T::Symbol);
    if (type.text != "axiom" && type.text != "hypothesis" && type.text != "conjecture")
      throw std::runtime_error("line " + std::to_string(type.line) + ": type " + type.text);
    expect(T::Comma);
    expect(T::LB);
    std::size_t size = 0, positive = 0;
    variables_.clear();
    do {
      bool is_positive = accept(T::Pos);
      if (!is_positive) expect(T::Neg);
      ++size;
      if (is_positive)
        ++positive;
      else
        ++stats_.negative_literals;
      Token name = expect(T::Symbol);
      std::size_t arity = peek().kind == T::LP ? arguments() : 0;
      if (name.text == "equal" && arity > 0) ++stats_.equality_literals;
      predicates_.insert({name.text, arity});
      if (arity == 0) propositional_.insert(name.text);
    } while (accept(T::Comma));
    expect(T::RB);
    expect(T::RP);
    expect(T::Dot);
    ++stats_.clauses;
    stats_.literals += size;
    if (size == 1) ++stats_.units;
    if (positive > 1) ++stats_.non_horn;
    stats_.max_clause_size = std::max(stats_.max_clause_size, size);
    stats_.variables += variables_.size();
    for (const auto& [name, count] : variables_)
      if (count == 1) ++stats_.singletons;
  }

  std::size_t arguments() {
    expect(T::LP);
    std::size_t count = 0;
    do {
      term();
      ++count;
    } while (accept(T::Comma));
    expect(T::RP);
    return count;
  }

  void term() {
    if (accept(T::LP)) {
      term();
      expect(T::RP);
      return;
    }
    if (peek().kind == T::Variable) {
      ++variables_[tokens_[pos_++].text];
      return;
    }
    Token name = expect(T::Symbol);
    std::size_t arity = peek().kind == T::LP ? arguments() : 0;
    functors_.insert({name.text, arity});
    if (arity == 0) constants_.insert(name.text);
  }

  std::vector<Token> tokens_;
  std::size_t pos_ = 0;
  ClauseSetStats stats_;
  std::set<std::pair<std::string, std::size_t>> predicates_, functors_;
  std::set<std::string> propositional_, constants_;
  std::map<std::string, std::size_t> variables_;
};

}  // namespace

ReadResult read_input_clauses(const std::string& text) {
  ReadResult result;
  try {
    result.stats = Parser(text).run();
    result.ok = true;
  } catch (const std::exception& error) {
    result.error = error.what();
  }
  return result;
}

}  // namespace tools_testing
