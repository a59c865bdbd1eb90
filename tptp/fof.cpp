// fof formulas: a precedence-climbing reader over the TPTP tokens and an
// iterative printer.  Quantifier scopes are tracked while reading, so that
// every variable occurrence is tied to the binding it belongs to and the
// clausifier never has to resolve names again.

#include "tptp/fof.hpp"

#include <algorithm>
#include <utility>

#include "common/memory_out.hpp"
#include "tptp/error.hpp"
#include "tptp/parsing.hpp"

namespace tptp {
namespace {

struct BinaryOperator {
  const char* text;
  Connective connective;
  bool associative;
};

// Loosest first; one level each.
constexpr BinaryOperator kLevels[] = {
    {"<=>", Connective::Iff, false},    {"=>", Connective::Implies, false},
    {"<=", Connective::Implied, false}, {"<~>", Connective::Xor, false},
    {"~|", Connective::Nor, false},     {"~&", Connective::Nand, false},
    {"|", Connective::Or, true},        {"&", Connective::And, true},
};
constexpr int kLevelCount = sizeof kLevels / sizeof kLevels[0];

class FormulaReader {
 public:
  FormulaReader(Lexer& lexer, Problem& problem, std::vector<std::string>& variables)
      : lex_(lexer), problem_(problem), variables_(variables) {}

  std::uint32_t formula(int level = 0) {
    common::check_stack();
    if (level == kLevelCount) return unit();
    std::uint32_t left = formula(level + 1);
    const BinaryOperator& op = kLevels[level];
    bool chained = false;
    while (is_operator(op.text)) {
      int line = lex_.take().line;
      if (chained && !op.associative)
        fail(line,
             std::string("'") + op.text + "' is not associative: put parentheses around one side");
      std::uint32_t right = formula(level + 1);
      left = node(op.connective, left, right);
      chained = true;
    }
    return left;
  }

 private:
  [[noreturn]] void fail(int line, const std::string& message) const {
    throw ConvertError(lex_.file(), line, message);
  }

  [[noreturn]] void unexpected(const std::string& wanted) const { tptp::unexpected(lex_, wanted); }

  bool is_operator(const char* text) const {
    const Token& token = lex_.peek();
    if (token.kind == Tok::Bar) return text[0] == '|' && text[1] == '\0';
    return token.kind == Tok::Other && token.text == text;
  }

  void expect(Tok kind, const std::string& wanted) { tptp::expect(lex_, kind, wanted); }

  std::uint32_t node(Connective connective, std::uint32_t left, std::uint32_t right,
                     std::uint32_t count = 0) {
    problem_.formula_nodes.push_back(FormulaNode{connective, left, right, count});
    return static_cast<std::uint32_t>(problem_.formula_nodes.size() - 1);
  }

  // A unit: ~ unit, a quantified unit, a parenthesised formula or an atom.
  // A run of ~ is read in a loop, not by recursion.
  std::uint32_t unit() {
    std::size_t negations = 0;
    while (lex_.peek().kind == Tok::Tilde) {
      lex_.take();
      ++negations;
    }
    std::uint32_t result;
    const Token& token = lex_.peek();
    if (token.kind == Tok::Other && (token.text == "!" || token.text == "?")) {
      result = quantified();
    } else if (token.kind == Tok::LParen) {
      lex_.take();
      result = formula();
      expect(Tok::RParen, "')' or a binary connective");
    } else {
      result = atomic();
    }
    for (; negations > 0; --negations) result = node(Connective::Not, result, 0);
    return result;
  }

  std::uint32_t quantified() {
    Connective connective = lex_.take().text == "!" ? Connective::Forall : Connective::Exists;
    expect(Tok::LBracket, "'[' opening the quantified variables");
    auto first = static_cast<std::uint32_t>(problem_.formula_variables.size());
    std::size_t scope_mark = scope_.size();
    do {
      if (lex_.peek().kind != Tok::UpperWord) unexpected("a variable");
      Token variable = lex_.take();
      auto index = static_cast<std::uint32_t>(variables_.size());
      variables_.push_back(variable.text);
      problem_.formula_variables.push_back(index);
      scope_.emplace_back(variable.text, index);
    } while (lex_.peek().kind == Tok::Comma && (lex_.take(), true));
    expect(Tok::RBracket, "',' or ']' in the quantified variables");
    if (!(lex_.peek().kind == Tok::Other && lex_.peek().text == ":"))
      unexpected("':' after the quantified variables");
    lex_.take();
    auto count = static_cast<std::uint32_t>(problem_.formula_variables.size() - first);
    std::uint32_t body = unit();
    scope_.resize(scope_mark);
    return node(connective, body, first, count);
  }

  std::uint32_t atomic() {
    int line = lex_.peek().line;
    std::uint32_t left = term();
    Tok kind = lex_.peek().kind;
    if (kind == Tok::Equals || kind == Tok::NotEquals) {
      lex_.take();
      std::uint32_t right = term();
      return node(kind == Tok::Equals ? Connective::Equal : Connective::NotEqual, left, right);
    }
    const Term& atom = problem_.terms[left];
    if (atom.is_variable) fail(line, "a variable cannot stand as a formula");
    const Symbol& predicate = problem_.symbol(atom.id);
    if (predicate.kind == SymbolKind::Number || predicate.kind == SymbolKind::Distinct)
      fail(line, "a number or a distinct object cannot stand as a formula");
    if (predicate.kind == SymbolKind::System && atom.arity == 0) {
      if (predicate.spelling == "$true") return node(Connective::True, 0, 0);
      if (predicate.spelling == "$false") return node(Connective::False, 0, 0);
    }
    return node(Connective::Atom, left, 0);
  }

  std::uint32_t term() {
    return read_term(
        lex_, problem_,
        [this](const Token& token) {
          auto bound = std::find_if(scope_.rbegin(), scope_.rend(), [&](const auto& binding) {
            return binding.first == token.text;
          });
          if (bound == scope_.rend())
            fail(token.line, "variable " + token.text +
                                 " is not bound by a quantifier (fof formulas must be closed)");
          return bound->second;
        },
        "a formula or a term");
  }

  Lexer& lex_;
  Problem& problem_;
  std::vector<std::string>& variables_;
  std::vector<std::pair<std::string, std::uint32_t>> scope_;  // innermost binding last
};

std::string quoted(const std::string& text, char quote) {
  std::string result(1, quote);
  for (char c : text) {
    if (c == '\\' || c == quote) result += '\\';
    result += c;
  }
  return result + quote;
}

std::string symbol_text(const Symbol& symbol) {
  switch (symbol.kind) {
    case SymbolKind::Quoted:
      return quoted(symbol.spelling, '\'');
    case SymbolKind::Distinct:
      return quoted(symbol.spelling, '"');
    default:
      return symbol.spelling;
  }
}

// The printer's work list: pieces of text, terms and formula nodes still to
// be written, the next one last.
class Printer {
 public:
  Printer(const Problem& problem, const Formula& formula) : problem_(problem), formula_(formula) {}

  std::string run() {
    work_.push_back({Item::Node, formula_.root, nullptr});
    while (!work_.empty()) {
      Item item = work_.back();
      work_.pop_back();
      switch (item.kind) {
        case Item::Text:
          out_ += item.text;
          break;
        case Item::Term:
          term(item.index);
          break;
        case Item::Node:
          node(item.index);
          break;
      }
    }
    return std::move(out_);
  }

 private:
  struct Item {
    enum Kind { Text, Term, Node } kind;
    std::uint32_t index;
    const char* text;
  };

  // Schedules the items in the order they are to be written.
  void then(std::initializer_list<Item> items) {
    for (auto it = items.end(); it != items.begin();) work_.push_back(*--it);
  }
  static Item text(const char* t) { return {Item::Text, 0, t}; }
  static Item term_item(std::uint32_t i) { return {Item::Term, i, nullptr}; }
  static Item node_item(std::uint32_t i) { return {Item::Node, i, nullptr}; }

  void term(std::uint32_t index) {
    const Term& t = problem_.terms[index];
    if (t.is_variable) {
      out_ += formula_.variables[t.id];
      return;
    }
    out_ += symbol_text(problem_.symbol(t.id));
    if (t.arity == 0) return;
    out_ += '(';
    work_.push_back(text(")"));
    for (std::uint32_t i = t.arity; i-- > 0;) {
      work_.push_back(term_item(problem_.args[t.first_arg + i]));
      if (i > 0) work_.push_back(text(","));
    }
  }

  void node(std::uint32_t index) {
    const FormulaNode& n = problem_.formula_nodes[index];
    switch (n.connective) {
      case Connective::Atom:
        return then({term_item(n.left)});
      case Connective::Equal:
        return then({term_item(n.left), text(" = "), term_item(n.right)});
      case Connective::NotEqual:
        return then({term_item(n.left), text(" != "), term_item(n.right)});
      case Connective::True:
        out_ += "$true";
        return;
      case Connective::False:
        out_ += "$false";
        return;
      case Connective::Not:
        return then({text("~ "), node_item(n.left)});
      case Connective::Forall:
      case Connective::Exists:
        out_ += n.connective == Connective::Forall ? "! [" : "? [";
        for (std::uint32_t i = 0; i < n.count; ++i) {
          if (i > 0) out_ += ',';
          out_ += formula_.variables[problem_.formula_variables[n.right + i]];
        }
        out_ += "] : ";
        return then({node_item(n.left)});
      default:
        break;
    }
    const char* spaced;
    switch (n.connective) {
      case Connective::Iff:
        spaced = " <=> ";
        break;
      case Connective::Implies:
        spaced = " => ";
        break;
      case Connective::Implied:
        spaced = " <= ";
        break;
      case Connective::Xor:
        spaced = " <~> ";
        break;
      case Connective::Nor:
        spaced = " ~| ";
        break;
      case Connective::Nand:
        spaced = " ~& ";
        break;
      case Connective::Or:
        spaced = " | ";
        break;
      default:
        spaced = " & ";
        break;
    }
    then({text("("), node_item(n.left), text(spaced), node_item(n.right), text(")")});
  }

  const Problem& problem_;
  const Formula& formula_;
  std::vector<Item> work_;
  std::string out_;
};

}  // namespace

std::uint32_t read_fof_formula(Lexer& lexer, Problem& problem,
                               std::vector<std::string>& variables) {
  return FormulaReader(lexer, problem, variables).formula();
}

std::string formula_text(const Problem& problem, std::size_t index) {
  return Printer(problem, problem.formulas[index]).run();
}

}  // namespace tptp
