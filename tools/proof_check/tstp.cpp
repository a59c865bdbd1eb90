#include "tools/proof_check/tstp.hpp"

#include <algorithm>
#include <unordered_map>

#include "tools/proof_check/proof.hpp"
#include "tptp/error.hpp"
#include "tptp/lexer.hpp"
#include "tptp/parsing.hpp"

namespace proof_check::tstp {
namespace {

using tptp::SymbolKind;
using tptp::Tok;
using tptp::Token;

// "% SZS output start CNFRefutation ..." with any blanks between the words.
bool is_marker(std::string_view line, std::string_view which) {
  const std::string_view words[] = {"%", "SZS", "output", which, "CNFRefutation"};
  std::size_t i = 0;
  for (std::string_view word : words) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (line.substr(i, word.size()) != word) return false;
    i += word.size();
    if (word != "%" && i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
      return false;
  }
  return true;
}

// An annotation (TPTP general term), kept only as far as the check needs it.
struct GeneralNode {
  Tok kind = Tok::End;  // LowerWord, SingleQuoted, Number, ... of its head; LBracket for a list
  std::string text;     // the word as written
  bool colon = false;   // LEFT : RIGHT (elements 0 and 1)
  std::uint32_t first = 0, count = 0;  // elements in GeneralTerms::elements
  bool has_term = false;               // $fot(T): T read into the refutation's terms
  std::uint32_t term = 0;
};

struct GeneralTerms {
  std::vector<GeneralNode> nodes;
  std::vector<std::uint32_t> elements;
  const GeneralNode& element(const GeneralNode& node, std::uint32_t i) const {
    return nodes[elements[node.first + i]];
  }
};

class RefutationReader {
 public:
  RefutationReader(std::string_view text, const std::string& file, Refutation& out)
      : lex_(text, file), out_(out) {}

  void read_all() {
    while (lex_.peek().kind != Tok::End) annotated_formula();
  }

 private:
  [[noreturn]] void fail(int line, const std::string& message) const {
    throw tptp::ConvertError(lex_.file(), line, message);
  }
  [[noreturn]] void unexpected(const std::string& wanted) const {
    fail(lex_.peek().line, "expected " + wanted + ", found " + tptp::describe(lex_.peek()));
  }
  Token expect(Tok kind, const std::string& wanted) {
    if (lex_.peek().kind != kind) unexpected(wanted);
    return lex_.take();
  }
  bool accept(Tok kind) {
    if (lex_.peek().kind != kind) return false;
    lex_.take();
    return true;
  }
  bool at_other(std::string_view text) const {
    return lex_.peek().kind == Tok::Other && lex_.peek().text == text;
  }

  void annotated_formula() {
    Token head = expect(Tok::LowerWord, "cnf(...) or fof(...)");
    if (head.text != "cnf" && head.text != "fof")
      fail(head.line, "'" + head.text + "' line: a refutation holds cnf and fof lines only");
    Line line;
    line.line = head.line;
    line.cnf = head.text == "cnf";
    expect(Tok::LParen, "'(' after " + head.text);
    line.clause.name = name(&line.clause.name_key);
    expect(Tok::Comma, "',' after the name");
    expect(Tok::LowerWord, "a role such as axiom or plain");
    if (at_other("-")) {
      lex_.take();
      general_term();
    }
    expect(Tok::Comma, "',' after the role");
    if (line.cnf)
      clause(line.clause);
    else
      skip_formula();
    if (accept(Tok::Comma)) {
      GeneralTerms terms;
      binding_variables_.clear();
      binding_names_.clear();
      std::uint32_t source = general_term(&terms);
      read_source(terms, terms.nodes[source], line);
      line.binding_variables = binding_names_;
      if (accept(Tok::Comma)) general_term();  // useful info
    }
    expect(Tok::RParen, "')' closing the line");
    expect(Tok::Dot, "'.' after the line");
    out_.lines.push_back(std::move(line));
  }

  tptp::Symbol name(std::string* key) { return tptp::read_name(lex_, key); }

  // CLAUSE: literals joined by |, the whole optionally in parentheses.
  void clause(tptp::Clause& clause) {
    variables_.clear();
    int open = 0;
    while (accept(Tok::LParen)) ++open;
    do literal(clause);
    while (accept(Tok::Bar));
    for (; open > 0; --open) expect(Tok::RParen, "')' or '|'");
    clause.variables.resize(variables_.size());
    for (const auto& [variable, index] : variables_) clause.variables[index] = variable;
  }

  void literal(tptp::Clause& clause) {
    bool positive = true;
    while (accept(Tok::Tilde)) positive = !positive;
    int line = lex_.peek().line;
    std::string error = tptp::add_atomic_literal(
        lex_, out_.terms, positive, term(), [this] { return term(); }, clause);
    if (!error.empty()) fail(line, error);
  }

  std::uint32_t term() {
    return tptp::read_term(lex_, out_.terms, [this](const Token& token) {
      return variables_.try_emplace(token.text, static_cast<std::uint32_t>(variables_.size()))
          .first->second;
    });
  }

  // A fof formula plays no part in the check: its tokens are passed over up
  // to the ',' or ')' that ends it.
  void skip_formula() {
    std::size_t depth = 0;
    for (;;) {
      Tok kind = lex_.peek().kind;
      if (kind == Tok::End || (kind == Tok::Dot && depth == 0))
        unexpected("the end of the formula");
      if (depth == 0 && (kind == Tok::Comma || kind == Tok::RParen)) return;
      if (kind == Tok::LParen || kind == Tok::LBracket) ++depth;
      if (kind == Tok::RParen || kind == Tok::RBracket) {
        if (depth == 0) unexpected("the end of the formula");
        --depth;
      }
      lex_.take();
    }
  }

  // A general term: [elements], WORD(elements), WORD, Variable, number,
  // "distinct", $fof(...)-style formula data, or LEFT : RIGHT.  Read with an
  // explicit stack; `terms` keeps it when given.
  std::uint32_t general_term(GeneralTerms* kept = nullptr) {
    GeneralTerms scratch;
    GeneralTerms& terms = kept ? *kept : scratch;
    struct Open {
      enum { kList, kApply, kColon } what;
      std::uint32_t node;  // the list or the applied word, or the colon's left side
      std::size_t first;   // its first element in pending
    };
    std::vector<Open> open;
    std::vector<std::uint32_t> pending;
    auto make = [&](GeneralNode node) {
      terms.nodes.push_back(std::move(node));
      return static_cast<std::uint32_t>(terms.nodes.size() - 1);
    };
    for (;;) {
      std::uint32_t done;
      Token token = lex_.take();
      if (token.kind == Tok::LBracket) {
        std::uint32_t list = make({Tok::LBracket, "[", false, 0, 0});
        if (!accept(Tok::RBracket)) {
          open.push_back({Open::kList, list, pending.size()});
          continue;
        }
        done = list;
      } else if (token.kind == Tok::LowerWord || token.kind == Tok::SingleQuoted ||
                 token.kind == Tok::DollarWord || token.kind == Tok::UpperWord ||
                 token.kind == Tok::Number || token.kind == Tok::DistinctObject) {
        done = make({token.kind, token.text, false, 0, 0});
        bool word = token.kind == Tok::LowerWord || token.kind == Tok::SingleQuoted;
        if (token.kind == Tok::DollarWord && token.text == "$fot" &&
            lex_.peek().kind == Tok::LParen) {
          lex_.take();  // a term, kept for the replay of the step
          const std::uint32_t term = tptp::read_term(lex_, out_.terms, [this](const Token& v) {
            auto [it, added] = binding_variables_.try_emplace(
                v.text, static_cast<std::uint32_t>(binding_names_.size()));
            if (added) binding_names_.push_back(v.text);
            return it->second;
          });
          terms.nodes[done].has_term = true;
          terms.nodes[done].term = term;
          expect(Tok::RParen, "')' after the term");
        } else if (token.kind == Tok::DollarWord && lex_.peek().kind == Tok::LParen) {
          lex_.take();  // formula data such as $fof(...): its formula is passed over
          skip_formula();
          expect(Tok::RParen, "')' after the formula");
        } else if (word && accept(Tok::LParen)) {
          open.push_back({Open::kApply, done, pending.size()});
          continue;
        }
      } else {
        fail(token.line, "expected an annotation term, found " + tptp::describe(token));
      }
      for (;;) {
        if (at_other(":")) {
          lex_.take();
          open.push_back({Open::kColon, done, pending.size()});
          break;
        }
        if (open.empty()) return done;
        Open& top = open.back();
        if (top.what == Open::kColon) {
          std::uint32_t left = top.node;
          open.pop_back();
          terms.elements.push_back(left);
          terms.elements.push_back(done);
          done = make(
              {Tok::Other, ":", true, static_cast<std::uint32_t>(terms.elements.size() - 2), 2});
          continue;
        }
        pending.push_back(done);
        if (accept(Tok::Comma)) break;
        expect(top.what == Open::kList ? Tok::RBracket : Tok::RParen,
               top.what == Open::kList ? "',' or ']'" : "',' or ')'");
        GeneralNode& node = terms.nodes[top.node];
        node.first = static_cast<std::uint32_t>(terms.elements.size());
        node.count = static_cast<std::uint32_t>(pending.size() - top.first);
        terms.elements.insert(terms.elements.end(),
                              pending.begin() + static_cast<std::ptrdiff_t>(top.first),
                              pending.end());
        pending.resize(top.first);
        done = top.node;
        open.pop_back();
      }
    }
  }

  // A name in an annotation (a file's clause name, a parent); false if it is none.
  static bool annotation_name(const GeneralNode& node, std::string& key, std::string& written) {
    if (node.count > 0 || node.colon) return false;
    if (node.kind == Tok::LowerWord || node.kind == Tok::SingleQuoted)
      key = tptp::name_key(
          {tptp::is_plain_word(node.text) ? SymbolKind::Plain : SymbolKind::Quoted, node.text});
    else if (node.kind == Tok::Number && node.text.find_first_of("./eE") == std::string::npos)
      key = tptp::name_key({SymbolKind::Number, node.text});
    else
      return false;
    written = node.kind == Tok::SingleQuoted ? "'" + node.text + "'" : node.text;
    return true;
  }

  void read_source(const GeneralTerms& terms, const GeneralNode& source, Line& line) {
    bool word = source.kind == Tok::LowerWord && !source.colon;
    if (word && source.text == "file" && source.count >= 2) {
      line.source = Source::kFile;
      if (!annotation_name(terms.element(source, 1), line.file_clause_key, line.file_clause_name))
        fail(line.line, "the clause name in file(...) is not a name");
    } else if (word && source.text == "theory") {
      line.source = Source::kTheory;
    } else if (word && source.text == "inference" && source.count == 3) {
      line.source = Source::kInference;
      const GeneralNode& rule = terms.element(source, 0);
      const GeneralNode& parents = terms.element(source, 2);
      if (rule.kind != Tok::LowerWord || rule.count > 0)
        fail(line.line, "the rule of inference(...) is not a word");
      if (parents.kind != Tok::LBracket)
        fail(line.line, "the parents of inference(...) are not a list");
      line.rule = rule.text;
      for (std::uint32_t i = 0; i < parents.count; ++i) {
        const GeneralNode* parent = &terms.element(parents, i);
        if (parent->colon) parent = &terms.element(*parent, 0);  // NAME:[bindings]
        // A theory the step rests on, as in [c_1, theory(equality)], is no line.
        if (parent->kind == Tok::LowerWord && parent->text == "theory" && parent->count > 0)
          continue;
        std::string key, written;
        if (!annotation_name(*parent, key, written))
          fail(line.line, "a parent of inference(...) is not a name");
        line.parent_keys.push_back(std::move(key));
        line.parent_names.push_back(std::move(written));
      }
      const GeneralNode& info = terms.element(source, 1);
      if (info.kind == Tok::LBracket)
        for (std::uint32_t i = 0; i < info.count; ++i)
          read_entry(terms, terms.element(info, i), line);
    } else {
      line.source = Source::kOther;
    }
  }

  // A replay entry NAME(ARGS) of an inference's annotation, or a
  // subst(PARENT, [bind(V, $fot(T)), ...]); other entries are passed over.
  void read_entry(const GeneralTerms& terms, const GeneralNode& node, Line& line) const {
    if (node.kind != Tok::LowerWord || node.colon || node.count == 0) return;
    if (node.text == "subst") {
      Substitution subst;
      if (node.count != 2 || terms.element(node, 1).kind != Tok::LBracket ||
          !annotation_name(terms.element(node, 0), subst.parent_key, subst.parent_name))
        fail(line.line, "subst(...) needs a parent and a list of bindings");
      const GeneralNode& list = terms.element(node, 1);
      for (std::uint32_t i = 0; i < list.count; ++i) {
        const GeneralNode& bind = terms.element(list, i);
        if (bind.kind != Tok::LowerWord || bind.text != "bind" || bind.count != 2 ||
            terms.element(bind, 0).kind != Tok::UpperWord || terms.element(bind, 0).count != 0 ||
            !terms.element(bind, 1).has_term)
          fail(line.line, "a binding must be bind(Variable, $fot(term))");
        subst.bindings.emplace_back(terms.element(bind, 0).text, terms.element(bind, 1).term);
      }
      line.substitutions.push_back(std::move(subst));
      return;
    }
    InfoEntry entry;
    entry.name = node.text;
    for (std::uint32_t i = 0; i < node.count; ++i) {
      const GeneralNode& a = terms.element(node, i);
      InfoArgument argument;
      if (a.kind == Tok::Number && a.count == 0 && !a.colon) {
        argument.kind = InfoArgument::kNumber;
        argument.number = small_number(a.text);
      } else if (a.kind == Tok::LowerWord && a.count == 0 && !a.colon) {
        argument.kind = InfoArgument::kWord;
        argument.word = a.text;
      } else if (a.kind == Tok::LBracket) {
        argument.kind = InfoArgument::kList;
        for (std::uint32_t k = 0; k < a.count; ++k) {
          const GeneralNode& item = terms.element(a, k);
          argument.list.push_back(item.kind == Tok::Number ? small_number(item.text) : -1);
        }
      }
      entry.arguments.push_back(std::move(argument));
    }
    line.info.push_back(std::move(entry));
  }

  // A decimal number of at most nine digits, else -1 (no literal number or
  // argument position is that large).
  static std::int64_t small_number(const std::string& text) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
      return -1;
    return std::stoll(text);
  }

  tptp::Lexer lex_;
  Refutation& out_;
  std::unordered_map<std::string, std::uint32_t> binding_variables_;  // of the line's $fot terms
  std::vector<std::string> binding_names_;
  std::unordered_map<std::string, std::uint32_t> variables_;  // of the clause being read
};

bool same_symbol(const tptp::Problem& a_store, std::uint32_t a, const tptp::Problem& b_store,
                 std::uint32_t b) {
  const tptp::Symbol& x = a_store.symbol(a);
  const tptp::Symbol& y = b_store.symbol(b);
  return x.kind == y.kind && x.spelling == y.spelling;
}

// Structural equality of two terms of one clause.
bool equal_terms(const tptp::Problem& store, std::uint32_t a, std::uint32_t b) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> stack{{a, b}};
  while (!stack.empty()) {
    auto [x, y] = stack.back();
    stack.pop_back();
    if (x == y) continue;
    const tptp::Term& s = store.terms[x];
    const tptp::Term& t = store.terms[y];
    if (s.is_variable != t.is_variable || s.id != t.id || s.arity != t.arity) return false;
    for (std::uint32_t i = 0; i < s.arity; ++i)
      stack.emplace_back(store.args[s.first_arg + i], store.args[t.first_arg + i]);
  }
  return true;
}

// Pairs of terms to compare, literal by literal; false when the literals differ in sign,
// kind or number.
bool literal_pairs(const tptp::Clause& a, const tptp::Clause& b,
                   std::vector<std::pair<std::uint32_t, std::uint32_t>>& pairs) {
  if (a.literals.size() != b.literals.size() || a.always_true != b.always_true) return false;
  for (std::size_t i = 0; i < a.literals.size(); ++i) {
    const tptp::Literal& x = a.literals[i];
    const tptp::Literal& y = b.literals[i];
    if (x.positive != y.positive || x.equality != y.equality) return false;
    pairs.emplace_back(x.left, y.left);
    if (x.equality) pairs.emplace_back(x.right, y.right);
  }
  return true;
}

// Quorvel's string for a symbol: the spelling, with a leading ' or " for
// quoted names and distinct objects so that no two kinds meet.
void write_symbol(const tptp::Symbol& symbol, std::string& out) {
  out += '"';
  if (symbol.kind == SymbolKind::Quoted) out += '\'';
  if (symbol.kind == SymbolKind::Distinct) out += "\\\"";
  for (char c : symbol.spelling) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  out += '"';
}

// A term as quorvel's datum, or in TPTP syntax; walked with an explicit stack.
// `variables` names the clause's variables in TPTP syntax.
void write_term(const tptp::Problem& store, std::uint32_t root, bool datum, std::string& out,
                const std::vector<std::string>* variables = nullptr,
                std::size_t limit = std::string::npos) {
  struct Frame {
    std::uint32_t term;
    std::uint32_t next;  // next argument to write
  };
  std::vector<Frame> stack{{root, 0}};
  while (!stack.empty() && out.size() < limit) {
    Frame& frame = stack.back();
    const tptp::Term& term = store.terms[frame.term];
    if (term.is_variable) {
      out += datum ? std::string("0") : (*variables)[term.id];
      stack.pop_back();
      continue;
    }
    if (frame.next == 0) {
      if (datum && term.arity > 0) out += '(';
      const tptp::Symbol& symbol = store.symbol(term.id);
      if (datum)
        write_symbol(symbol, out);
      else if (symbol.kind == SymbolKind::Quoted)
        out += "'" + symbol.spelling + "'";
      else if (symbol.kind == SymbolKind::Distinct)
        out += "\"" + symbol.spelling + "\"";
      else
        out += symbol.spelling;
    }
    if (frame.next == term.arity) {
      if (term.arity > 0) out += ')';
      stack.pop_back();
      continue;
    }
    out += datum ? ' ' : frame.next == 0 ? '(' : ',';
    std::uint32_t argument = store.args[term.first_arg + frame.next++];
    stack.push_back({argument, 0});
  }
  if (!stack.empty()) out += "...";
}

}  // namespace

BlockPosition find_refutation(std::string_view output) {
  BlockPosition block;
  std::vector<std::string_view> lines = split_lines(output);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!block.found && is_marker(lines[i], "start")) {
      block.found = true;
      block.start = i;
    } else if (block.found && is_marker(lines[i], "end")) {
      block.complete = true;
      block.end = i;
      break;
    }
  }
  return block;
}

Refutation read_refutation(std::string_view text, const BlockPosition& block,
                           const std::string& file) {
  // The lines before the block become empty lines, so that the lexer counts
  // the lines of the whole output.
  std::vector<std::string_view> lines = split_lines(text);
  std::string source(block.start + 1, '\n');
  for (std::size_t i = block.start + 1; i < block.end; ++i) {
    source += lines[i];
    source += '\n';
  }
  Refutation refutation;
  RefutationReader(source, file, refutation).read_all();
  return refutation;
}

bool is_instance(const tptp::Problem& store, const tptp::Clause& pattern,
                 const tptp::Clause& instance) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> stack;
  if (!literal_pairs(pattern, instance, stack)) return false;
  constexpr std::uint32_t kUnbound = ~std::uint32_t{0};
  std::vector<std::uint32_t> binding(pattern.variables.size(), kUnbound);
  while (!stack.empty()) {
    auto [p, t] = stack.back();
    stack.pop_back();
    const tptp::Term& from = store.terms[p];
    const tptp::Term& to = store.terms[t];
    if (from.is_variable) {
      std::uint32_t& bound = binding[from.id];
      if (bound == kUnbound)
        bound = t;
      else if (!equal_terms(store, bound, t))
        return false;
      continue;
    }
    if (to.is_variable || from.id != to.id || from.arity != to.arity) return false;
    for (std::uint32_t i = 0; i < from.arity; ++i)
      stack.emplace_back(store.args[from.first_arg + i], store.args[to.first_arg + i]);
  }
  return true;
}

bool is_variant(const tptp::Problem& a_store, const tptp::Clause& a, const tptp::Problem& b_store,
                const tptp::Clause& b) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> stack;
  if (!literal_pairs(a, b, stack)) return false;
  constexpr std::uint32_t kUnbound = ~std::uint32_t{0};
  std::vector<std::uint32_t> a_to_b(a.variables.size(), kUnbound);
  std::vector<std::uint32_t> b_to_a(b.variables.size(), kUnbound);
  while (!stack.empty()) {
    auto [x, y] = stack.back();
    stack.pop_back();
    const tptp::Term& s = a_store.terms[x];
    const tptp::Term& t = b_store.terms[y];
    if (s.is_variable != t.is_variable) return false;
    if (s.is_variable) {
      if (a_to_b[s.id] == kUnbound && b_to_a[t.id] == kUnbound) {
        a_to_b[s.id] = t.id;
        b_to_a[t.id] = s.id;
      }
      if (a_to_b[s.id] != t.id || b_to_a[t.id] != s.id) return false;
      continue;
    }
    if (s.arity != t.arity || !same_symbol(a_store, s.id, b_store, t.id)) return false;
    for (std::uint32_t i = 0; i < s.arity; ++i)
      stack.emplace_back(a_store.args[s.first_arg + i], b_store.args[t.first_arg + i]);
  }
  return true;
}

std::string general_syntax(const tptp::Problem& store,
                           const std::vector<const tptp::Clause*>& clauses) {
  std::string out;
  for (const tptp::Clause* clause : clauses) {
    if (clause->always_true) continue;
    out += "((";
    for (bool positive : {true, false}) {
      bool first = true;
      for (const tptp::Literal& literal : clause->literals) {
        if (literal.positive != positive) continue;
        if (!first) out += ' ';
        first = false;
        if (literal.equality) {
          out += "(\"=\" ";
          write_term(store, literal.left, true, out);
          out += ' ';
          write_term(store, literal.right, true, out);
          out += ')';
        } else {
          write_term(store, literal.left, true, out);
        }
      }
      out += positive ? ") (" : "))\n";
    }
  }
  return out;
}

std::string to_string(const tptp::Problem& store, const tptp::Clause& clause) {
  constexpr std::size_t kShown = 300;  // a message shows the start of a huge clause
  if (clause.literals.empty()) return clause.always_true ? "$true" : "$false";
  std::string out;
  for (const tptp::Literal& literal : clause.literals) {
    if (!out.empty()) out += " | ";
    if (!literal.positive && !literal.equality) out += '~';
    write_term(store, literal.left, false, out, &clause.variables, kShown);
    if (literal.equality) {
      out += literal.positive ? " = " : " != ";
      write_term(store, literal.right, false, out, &clause.variables, kShown);
    }
    if (out.size() >= kShown) break;
  }
  return out;
}

}  // namespace proof_check::tstp
