// Tokens of the TPTP language.  The operators of first-order formulas other
// than | ~ = != come as `Other` with their text (&, =>, <=>, !, ?, :, ...);
// the fof reader tells them apart, and annotations, which may quote
// formulas, are skipped over them.
#pragma once

#include <string>
#include <string_view>

namespace tptp {

enum class Tok {
  End,             // no character left
  LowerWord,       // a-z, then letters, digits, _
  UpperWord,       // A-Z or _, then letters, digits, _ (a variable)
  DollarWord,      // $word or $$word; text keeps the dollars
  SingleQuoted,    // '...'; text is the content with escapes resolved
  DistinctObject,  // "..."; text is the content with escapes resolved
  Number,          // integer, rational or real, with an optional sign
  LParen,
  RParen,
  LBracket,
  RBracket,
  Comma,
  Dot,
  Bar,        // |
  Tilde,      // ~
  Equals,     // =
  NotEquals,  // !=
  Other,      // any other operator of the full language (&, =>, !, :, ...)
};

struct Token {
  Tok kind = Tok::End;
  std::string text;
  int line = 1;
};

// Printable description of a token for error messages, e.g. "'fof'" or "end of file".
std::string describe(const Token& token);

class Lexer {
 public:
  // `source` must outlive the lexer; `file` names it in error messages.
  Lexer(std::string_view source, std::string file);

  const Token& peek() const { return current_; }
  Token take();  // returns the current token and moves to the next one
  const std::string& file() const { return file_; }

 private:
  Token scan();
  void skip_blanks_and_comments();
  std::string quoted(char quote, int line);
  [[noreturn]] void fail(int line, const std::string& message) const;

  std::string_view src_;
  std::size_t pos_ = 0;
  int line_ = 1;
  std::string file_;
  Token current_;
};

}  // namespace tptp
