#include "tptp/parsing.hpp"

#include <algorithm>
#include <vector>

#include "tptp/error.hpp"

namespace tptp {

bool is_plain_word(const std::string& text) {
  if (text.empty() || text[0] < 'a' || text[0] > 'z') return false;
  return std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  });
}

std::string name_key(const Symbol& name) {
  return std::string(1, static_cast<char>('0' + static_cast<int>(name.kind))) + name.spelling;
}

std::string derived_word(const std::string& spelling) {
  if (is_plain_word(spelling)) return spelling;
  std::string word;
  for (char c : spelling)
    word += (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ? c : '_';
  if (word.empty() || word[0] < 'a' || word[0] > 'z') word.insert(0, "n");
  return word;
}

Symbol read_name(Lexer& lex, std::string* key) {
  const Token& token = lex.peek();
  Symbol result;
  if (token.kind == Tok::LowerWord) {
    result = {SymbolKind::Plain, token.text};
  } else if (token.kind == Tok::SingleQuoted) {
    result = {is_plain_word(token.text) ? SymbolKind::Plain : SymbolKind::Quoted, token.text};
  } else if (token.kind == Tok::Number && token.text.find_first_of("./eE") == std::string::npos) {
    result = {SymbolKind::Number, token.text};
  } else {
    unexpected(lex, "a name (word, quoted word or integer)");
  }
  lex.take();
  *key = name_key(result);
  return result;
}

bool term_symbol(const Token& token, Symbol& symbol) {
  switch (token.kind) {
    case Tok::LowerWord:
      symbol = {SymbolKind::Plain, token.text};
      return true;
    case Tok::SingleQuoted:
      symbol = {is_plain_word(token.text) ? SymbolKind::Plain : SymbolKind::Quoted, token.text};
      return true;
    case Tok::DollarWord:
      symbol = {SymbolKind::System, token.text};
      return true;
    case Tok::DistinctObject:
      symbol = {SymbolKind::Distinct, token.text};
      return true;
    case Tok::Number:
      symbol = {SymbolKind::Number, token.text};
      return true;
    default:
      return false;
  }
}

void unexpected(const Lexer& lex, const std::string& wanted) {
  throw ConvertError(lex.file(), lex.peek().line,
                     "expected " + wanted + ", found " + describe(lex.peek()));
}

Token expect(Lexer& lex, Tok kind, const std::string& wanted) {
  if (lex.peek().kind != kind) unexpected(lex, wanted);
  return lex.take();
}

bool accept(Lexer& lex, Tok kind) {
  if (lex.peek().kind != kind) return false;
  lex.take();
  return true;
}

std::uint32_t read_term(Lexer& lex, Problem& problem,
                        const std::function<std::uint32_t(const Token&)>& variable,
                        const std::string& wanted) {
  // Functors whose arguments are being read, and those arguments, so that
  // nesting costs no depth of the machine stack.
  struct Open {
    std::uint32_t symbol;
    std::size_t first;  // its first argument in `pending`
  };
  std::vector<Open> open;
  std::vector<std::uint32_t> pending;
  for (;;) {
    Term made{false, 0, 0, 0};
    if (lex.peek().kind == Tok::UpperWord) {
      made = {true, variable(lex.peek()), 0, 0};
      lex.take();
    } else {
      Symbol symbol;
      if (!term_symbol(lex.peek(), symbol)) unexpected(lex, open.empty() ? wanted : "a term");
      Token token = lex.take();
      made.id = problem.intern(symbol.kind, symbol.spelling);
      // Numbers and distinct objects take no arguments.
      bool functor = token.kind == Tok::LowerWord || token.kind == Tok::SingleQuoted ||
                     token.kind == Tok::DollarWord;
      if (functor && accept(lex, Tok::LParen)) {
        open.push_back({made.id, pending.size()});
        continue;
      }
    }
    problem.terms.push_back(made);
    auto done = static_cast<std::uint32_t>(problem.terms.size() - 1);
    // Close every functor whose last argument this was.
    for (;;) {
      if (open.empty()) return done;
      pending.push_back(done);
      if (accept(lex, Tok::Comma)) break;
      expect(lex, Tok::RParen, "',' or ')' in an argument list");
      Open closing = open.back();
      open.pop_back();
      Term closed{false, closing.symbol, static_cast<std::uint32_t>(problem.args.size()),
                  static_cast<std::uint32_t>(pending.size() - closing.first)};
      problem.args.insert(problem.args.end(),
                          pending.begin() + static_cast<std::ptrdiff_t>(closing.first),
                          pending.end());
      pending.resize(closing.first);
      problem.terms.push_back(closed);
      done = static_cast<std::uint32_t>(problem.terms.size() - 1);
    }
  }
}

std::string add_atomic_literal(Lexer& lex, Problem& problem, bool positive, std::uint32_t left,
                               const std::function<std::uint32_t()>& term, Clause& clause) {
  if (lex.peek().kind == Tok::Equals || lex.peek().kind == Tok::NotEquals) {
    if (lex.take().kind == Tok::NotEquals) positive = !positive;
    std::uint32_t right = term();
    clause.literals.push_back(Literal{positive, true, left, right});
    return "";
  }
  const Term& atom = problem.terms[left];
  if (atom.is_variable) return "a variable cannot stand as a literal";
  const Symbol& predicate = problem.symbol(atom.id);
  if (predicate.kind == SymbolKind::Number || predicate.kind == SymbolKind::Distinct)
    return "a number or a distinct object cannot stand as a literal";
  if (predicate.kind == SymbolKind::System && atom.arity == 0 &&
      (predicate.spelling == "$true" || predicate.spelling == "$false")) {
    // A true literal satisfies the clause; a false one adds nothing to it.
    if ((predicate.spelling == "$true") == positive) clause.always_true = true;
    return "";
  }
  clause.literals.push_back(Literal{positive, false, left, 0});
  return "";
}

}  // namespace tptp
