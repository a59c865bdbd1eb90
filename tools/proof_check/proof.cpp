#include "tools/proof_check/proof.hpp"

#include <cctype>
#include <map>
#include <optional>

#include "common/decimal.hpp"

namespace proof_check {
namespace {

bool is_name_char(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '+' || c == '-';
}

// Recursive-descent reader of velkor's literal syntax over one piece of text.
class LiteralReader {
 public:
  explicit LiteralReader(std::string_view text) : text_(text) {}

  bool read_all(Clause& clause, std::string& error) {
    for (;;) {
      skip_separators();
      if (at_end()) return true;
      Literal literal;
      if (!read_literal(literal)) {
        error = error_ + " at column " + std::to_string(pos_ + 1) + " of \"" + std::string(text_) +
                "\"";
        return false;
      }
      clause.push_back(std::move(literal));
    }
  }

 private:
  bool at_end() const { return pos_ >= text_.size(); }
  char peek(std::size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
  }
  bool sign_here() const { return (peek() == '+' || peek() == '-') && peek(1) == peek(); }

  void skip_blanks() {
    while (!at_end() && std::isspace(static_cast<unsigned char>(peek()))) ++pos_;
  }
  void skip_separators() {
    while (!at_end() && (std::isspace(static_cast<unsigned char>(peek())) || peek() == ',')) ++pos_;
  }

  bool fail(std::string message) {
    error_ = std::move(message);
    return false;
  }

  bool read_literal(Literal& literal) {
    if (!sign_here()) return fail("expected \"++\" or \"--\"");
    literal.positive = peek() == '+';
    pos_ += 2;
    skip_blanks();
    if (!read_name(literal.atom, /*top_level=*/true)) return false;
    if (literal.atom.variable) return fail("a variable cannot be an atom");
    skip_blanks();
    if (peek() == '(') return read_arguments(literal.atom);
    return true;
  }

  // A name; at the top level a literal's predicate name ends where the next
  // literal's sign begins, since the printed literals have no separator.
  bool read_name(Term& term, bool top_level) {
    std::size_t start = pos_;
    if (!std::isalnum(static_cast<unsigned char>(peek()))) return fail("expected a name");
    while (!at_end() && is_name_char(peek()) && !(top_level && sign_here())) ++pos_;
    term.name = std::string(text_.substr(start, pos_ - start));
    term.variable = std::isupper(static_cast<unsigned char>(term.name[0])) != 0;
    return true;
  }

  bool read_arguments(Term& term) {
    ++pos_;  // (
    for (;;) {
      Term argument;
      if (!read_term(argument)) return false;
      term.arguments.push_back(std::move(argument));
      skip_blanks();
      if (peek() == ',') {
        ++pos_;
      } else if (peek() == ')') {
        ++pos_;
        return true;
      } else {
        return fail("expected \",\" or \")\"");
      }
    }
  }

  bool read_term(Term& term) {
    skip_blanks();
    if (peek() == '(') {  // parentheses around a term are transparent
      ++pos_;
      if (!read_term(term)) return false;
      skip_blanks();
      if (peek() != ')') return fail("expected \")\"");
      ++pos_;
      return true;
    }
    if (!read_name(term, /*top_level=*/false)) return false;
    skip_blanks();
    if (peek() != '(') return true;
    if (term.variable) return fail("a variable cannot have arguments");
    return read_arguments(term);
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::string error_;
};

bool blank(std::string_view line) {
  for (char c : line)
    if (!std::isspace(static_cast<unsigned char>(c))) return false;
  return true;
}

bool starts_with(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool match(const Term& pattern, const Term& term, std::map<std::string, Term>& substitution) {
  if (pattern.variable) {
    auto [it, inserted] = substitution.emplace(pattern.name, term);
    return inserted || it->second == term;
  }
  if (term.variable || term.name != pattern.name ||
      term.arguments.size() != pattern.arguments.size())
    return false;
  for (std::size_t i = 0; i < pattern.arguments.size(); ++i)
    if (!match(pattern.arguments[i], term.arguments[i], substitution)) return false;
  return true;
}

Term ground_term(const Term& term) {
  if (term.variable) return Term{std::string(kGroundConstant), false, {}};
  Term result{term.name, false, {}};
  for (const Term& argument : term.arguments) result.arguments.push_back(ground_term(argument));
  return result;
}

void write_string(std::string_view name, std::string& out) {
  out += '"';
  for (char c : name) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  out += '"';
}

void write_datum(const Term& term, std::string& out) {
  if (term.variable) {
    write_string(kGroundConstant, out);
    return;
  }
  if (term.arguments.empty()) {
    write_string(term.name, out);
    return;
  }
  out += '(';
  write_string(term.name, out);
  for (const Term& argument : term.arguments) {
    out += ' ';
    write_datum(argument, out);
  }
  out += ')';
}

}  // namespace

bool parse_literals(std::string_view text, Clause& clause, std::string& error) {
  return LiteralReader(text).read_all(clause, error);
}

UsedClauses parse_used_clauses(std::string_view velkor_output) {
  UsedClauses result;
  std::vector<std::string_view> lines = split_lines(velkor_output);
  std::size_t i = 0;
  while (i < lines.size() && lines[i] != "USED CLAUSES") ++i;
  if (i + 1 >= lines.size() || lines[i + 1] != "------------") {
    result.error =
        "no \"USED CLAUSES\" block and no \"% SZS output start CNFRefutation\" line (was velkor "
        "run with -proof, and did it find a proof?)";
    return result;
  }
  auto fail = [&](std::size_t line, const std::string& message) {
    result.error = message;
    result.line = line + 1;
    result.clauses.clear();
    return result;
  };
  constexpr std::string_view kClause = "clause ", kCopies = "copies: ", kIndent = "        ";
  for (i += 2; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    if (blank(line)) continue;
    if (!starts_with(line, kClause)) break;  // the block ends with the output
    UsedClause used;
    std::size_t colon = line.find(": ");
    std::string_view number = line.substr(kClause.size(), colon - kClause.size());
    if (colon == std::string_view::npos || number.empty() ||
        number.find_first_not_of("0123456789") != std::string_view::npos)
      return fail(i, "expected \"clause N: \" followed by the clause");
    if (common::parse_decimal(number, used.number) != common::DecimalStatus::kOk)
      return fail(i, "clause number " + std::string(number) + " is out of range");
    std::string error;
    if (!parse_literals(line.substr(colon + 2), used.clause, error)) return fail(i, error);
    if (used.clause.empty()) return fail(i, "clause without literals");
    if (++i >= lines.size() || !starts_with(lines[i], kCopies))
      return fail(i, "expected \"copies: \" after the clause");
    // The first instance follows "copies: "; velkor ends every instance
    // with a newline and eight blanks, so each further one is on its own
    // line after eight blanks and a line of just those blanks, itself ended
    // by a newline, closes the list.  Anything short of that is output cut
    // off in the middle, whose last instance may be cut as well.
    std::string_view text = lines[i].substr(kCopies.size());
    bool closed = false;
    for (;;) {
      Clause instance;
      if (!parse_literals(text, instance, error)) return fail(i, error);
      if (instance.empty()) return fail(i, "an instance without literals");
      used.instances.push_back(std::move(instance));
      if (i + 1 >= lines.size() || !starts_with(lines[i + 1], kIndent)) break;
      text = lines[++i];
      if (blank(text)) {
        closed = i + 1 < lines.size();
        break;
      }
    }
    if (!closed)
      return fail(i, "the instances of clause " + std::to_string(used.number) +
                         " end unfinished (velkor's output cut off?)");
    result.clauses.push_back(std::move(used));
  }
  result.ok = true;
  return result;
}

ProblemClauses parse_problem(std::string_view text) {
  ProblemClauses result;
  std::string plain;  // the text without its % comments
  plain.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%') {
      while (i < text.size() && text[i] != '\n') ++i;
      if (i == text.size()) break;
    }
    plain += text[i];
  }
  constexpr std::string_view kEntry = "input_clause";
  std::size_t pos = 0;
  while ((pos = plain.find(kEntry, pos)) != std::string::npos) {
    // Only the keyword itself starts an entry, not a name containing it.
    std::size_t after = pos + kEntry.size();
    bool word_start = pos == 0 || !is_name_char(plain[pos - 1]);
    if (!word_start || (after < plain.size() && is_name_char(plain[after]))) {
      pos = after;
      continue;
    }
    std::size_t open = plain.find('[', pos), close = plain.find(']', pos);
    if (open == std::string::npos || close == std::string::npos || close < open) {
      result.error = "input_clause entry " + std::to_string(result.clauses.size() + 1) +
                     " has no literal list";
      return result;
    }
    Clause clause;
    std::string error;
    if (!parse_literals(std::string_view(plain).substr(open + 1, close - open - 1), clause,
                        error)) {
      result.error =
          "input_clause entry " + std::to_string(result.clauses.size() + 1) + ": " + error;
      return result;
    }
    result.clauses.push_back(std::move(clause));
    pos = close;
  }
  result.ok = true;
  return result;
}

bool is_instance(const Clause& clause, const Clause& instance) {
  if (clause.size() != instance.size()) return false;
  std::map<std::string, Term> substitution;
  for (std::size_t i = 0; i < clause.size(); ++i)
    if (clause[i].positive != instance[i].positive ||
        !match(clause[i].atom, instance[i].atom, substitution))
      return false;
  return true;
}

Clause ground(const Clause& clause) {
  Clause result;
  for (const Literal& literal : clause)
    result.push_back({literal.positive, ground_term(literal.atom)});
  return result;
}

std::string general_syntax(const std::vector<Clause>& clauses) {
  std::string out;
  for (const Clause& clause : clauses) {
    out += "((";
    for (bool positive : {true, false}) {
      bool first = true;
      for (const Literal& literal : clause) {
        if (literal.positive != positive) continue;
        if (!first) out += ' ';
        first = false;
        write_datum(literal.atom, out);
      }
      out += positive ? ") (" : "))\n";
    }
  }
  return out;
}

std::string to_string(const Term& term) {
  std::string out = term.name;
  if (term.arguments.empty()) return out;
  out += '(';
  for (std::size_t i = 0; i < term.arguments.size(); ++i) {
    if (i > 0) out += ',';
    out += to_string(term.arguments[i]);
  }
  return out + ')';
}

std::string to_string(const Clause& clause) {
  std::string out;
  for (const Literal& literal : clause)
    out += (literal.positive ? "++" : "--") + to_string(literal.atom);
  return out;
}

Verdict read_verdict(std::string_view quorvel_output) {
  std::vector<std::string_view> lines = split_lines(quorvel_output);
  for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
    if (blank(*it)) continue;
    if (starts_with(*it, "unsatisfiable: ")) return Verdict::kUnsatisfiable;
    if (starts_with(*it, "satisfiable: ")) return Verdict::kSatisfiable;
    return Verdict::kUnknown;
  }
  return Verdict::kUnknown;
}

std::vector<std::string_view> split_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace proof_check
