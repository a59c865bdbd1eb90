#include "tptp/lexer.hpp"

#include <cstdio>

#include "tptp/error.hpp"

namespace tptp {
namespace {

bool is_lower(char c) {
  return c >= 'a' && c <= 'z';
}
bool is_upper(char c) {
  return c >= 'A' && c <= 'Z';
}
bool is_digit(char c) {
  return c >= '0' && c <= '9';
}
bool is_alnum(char c) {
  return is_lower(c) || is_upper(c) || is_digit(c) || c == '_';
}

std::string shown_char(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  if (u >= 32 && u < 127) return std::string("'") + c + "'";
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "byte 0x%02x", u);
  return buffer;
}

}  // namespace

std::string describe(const Token& token) {
  switch (token.kind) {
    case Tok::End:
      return "end of file";
    case Tok::SingleQuoted:
      return "'" + token.text + "'";
    case Tok::DistinctObject:
      return "\"" + token.text + "\"";
    default:
      return "'" + token.text + "'";
  }
}

Lexer::Lexer(std::string_view source, std::string file) : src_(source), file_(std::move(file)) {
  current_ = scan();
}

Token Lexer::take() {
  Token token = std::move(current_);
  current_ = scan();
  return token;
}

void Lexer::fail(int line, const std::string& message) const {
  throw ConvertError(file_, line, message);
}

void Lexer::skip_blanks_and_comments() {
  while (pos_ < src_.size()) {
    char c = src_[pos_];
    if (c == '\n') {
      ++line_;
      ++pos_;
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
      ++pos_;
    } else if (c == '%') {
      while (pos_ < src_.size() && src_[pos_] != '\n') ++pos_;
    } else if (c == '/' && pos_ + 1 < src_.size() && src_[pos_ + 1] == '*') {
      int start = line_;
      pos_ += 2;
      while (true) {
        if (pos_ + 1 >= src_.size()) fail(start, "comment opened with /* is never closed");
        if (src_[pos_] == '*' && src_[pos_ + 1] == '/') break;
        if (src_[pos_] == '\n') ++line_;
        ++pos_;
      }
      pos_ += 2;
    } else {
      return;
    }
  }
}

// Reads a quoted item whose opening quote is at pos_; returns the content
// with the two escapes of the language (\\ and \<quote>) resolved.
std::string Lexer::quoted(char quote, int line) {
  std::string content;
  ++pos_;
  while (true) {
    if (pos_ >= src_.size() || src_[pos_] == '\n')
      fail(line, std::string("quoted item opened with ") + quote + " is not closed on its line");
    char c = src_[pos_];
    if (c == quote) break;
    if (c == '\\') {
      char next = pos_ + 1 < src_.size() ? src_[pos_ + 1] : '\0';
      if (next != '\\' && next != quote)
        fail(line, std::string("a backslash in a quoted item may only escape \\ or ") + quote);
      content += next;
      pos_ += 2;
      continue;
    }
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 32 || u >= 127) fail(line, shown_char(c) + " is not allowed inside a quoted item");
    content += c;
    ++pos_;
  }
  ++pos_;
  if (content.empty()) fail(line, "a quoted item must not be empty");
  return content;
}

Token Lexer::scan() {
  skip_blanks_and_comments();
  Token token;
  token.line = line_;
  if (pos_ >= src_.size()) return token;
  std::size_t start = pos_;
  char c = src_[pos_];
  auto single = [&](Tok kind, std::size_t length) {
    token.kind = kind;
    token.text = std::string(src_.substr(start, length));
    pos_ += length;
    return token;
  };
  auto next_is = [&](std::size_t offset, char expected) {
    return pos_ + offset < src_.size() && src_[pos_ + offset] == expected;
  };
  if (is_lower(c) || is_upper(c) || c == '_') {
    while (pos_ < src_.size() && is_alnum(src_[pos_])) ++pos_;
    token.kind = is_lower(c) ? Tok::LowerWord : Tok::UpperWord;
    token.text = std::string(src_.substr(start, pos_ - start));
    return token;
  }
  if (c == '$') {
    ++pos_;
    if (next_is(0, '$')) ++pos_;
    if (pos_ >= src_.size() || !is_lower(src_[pos_]))
      fail(line_, "'$' must begin a word like $true");
    while (pos_ < src_.size() && is_alnum(src_[pos_])) ++pos_;
    token.kind = Tok::DollarWord;
    token.text = std::string(src_.substr(start, pos_ - start));
    return token;
  }
  bool signed_number = (c == '+' || c == '-') && pos_ + 1 < src_.size() && is_digit(src_[pos_ + 1]);
  if (is_digit(c) || signed_number) {
    if (signed_number) ++pos_;
    auto digits = [&] {
      std::size_t from = pos_;
      while (pos_ < src_.size() && is_digit(src_[pos_])) ++pos_;
      return pos_ > from;
    };
    digits();
    if (next_is(0, '/') && pos_ + 1 < src_.size() && is_digit(src_[pos_ + 1])) {
      ++pos_;
      digits();
    } else {
      if (next_is(0, '.') && pos_ + 1 < src_.size() && is_digit(src_[pos_ + 1])) {
        ++pos_;
        digits();
      }
      if (next_is(0, 'e') || next_is(0, 'E')) {
        std::size_t mark = pos_;
        ++pos_;
        if (next_is(0, '+') || next_is(0, '-')) ++pos_;
        if (!digits()) pos_ = mark;
      }
    }
    if (pos_ < src_.size() && is_alnum(src_[pos_]))
      fail(line_, "a number must not run into a word: '" +
                      std::string(src_.substr(start, pos_ - start + 1)) + "'");
    token.kind = Tok::Number;
    token.text = std::string(src_.substr(start, pos_ - start));
    return token;
  }
  switch (c) {
    case '\'':
      token.kind = Tok::SingleQuoted;
      token.text = quoted('\'', line_);
      return token;
    case '"':
      token.kind = Tok::DistinctObject;
      token.text = quoted('"', line_);
      return token;
    case '(':
      return single(Tok::LParen, 1);
    case ')':
      return single(Tok::RParen, 1);
    case '[':
      return single(Tok::LBracket, 1);
    case ']':
      return single(Tok::RBracket, 1);
    case ',':
      return single(Tok::Comma, 1);
    case '.':
      return single(Tok::Dot, 1);
    case '|':
      return single(Tok::Bar, 1);
    case '~':
      if (next_is(1, '|') || next_is(1, '&')) return single(Tok::Other, 2);
      return single(Tok::Tilde, 1);
    case '=':
      if (next_is(1, '>')) return single(Tok::Other, 2);
      return single(Tok::Equals, 1);
    case '!':
      if (next_is(1, '=')) return single(Tok::NotEquals, 2);
      return single(Tok::Other, 1);
    case '<':
      if (next_is(1, '=') && next_is(2, '>')) return single(Tok::Other, 3);
      if (next_is(1, '~') && next_is(2, '>')) return single(Tok::Other, 3);
      return single(Tok::Other, next_is(1, '=') ? 2 : 1);
    case '&':
    case '?':
    case '@':
    case '^':
    case '*':
    case ':':
    case '+':
    case '-':
    case '>':
    case '#':
    case '/':
    case '{':
    case '}':
      return single(Tok::Other, 1);
    default:
      fail(line_, "unexpected character " + shown_char(c));
  }
}

}  // namespace tptp
