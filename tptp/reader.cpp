#include "tptp/reader.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unordered_set>

#include "common/memory_out.hpp"
#include "tptp/error.hpp"
#include "tptp/fof.hpp"
#include "tptp/lexer.hpp"
#include "tptp/parsing.hpp"

namespace tptp {

namespace fs = std::filesystem;

std::uint32_t Problem::intern(SymbolKind kind, const std::string& spelling) {
  std::string key;
  key.reserve(spelling.size() + 1);
  key += static_cast<char>('0' + static_cast<int>(kind));
  key += spelling;
  auto [it, inserted] = index_.try_emplace(std::move(key), symbols_.size());
  if (inserted) symbols_.push_back(Symbol{kind, spelling});
  return it->second;
}

namespace {

std::string read_whole_file(const std::string& path, const std::string& from_file, int from_line) {
  std::error_code ec;
  if (fs::is_directory(path, ec))
    throw ConvertError(from_file, from_line, "'" + path + "' is a directory, not a problem file",
                       ConvertError::Kind::kInput);
  std::ifstream in(path, std::ios::binary);
  if (!in)
    throw ConvertError(from_file, from_line, "cannot open '" + path + "'",
                       ConvertError::Kind::kInput);
  std::ostringstream contents;
  contents << in.rdbuf();
  if (in.bad())
    throw ConvertError(from_file, from_line, "cannot read '" + path + "'",
                       ConvertError::Kind::kInput);
  return std::move(contents).str();
}

class FileReader;

// State shared by the reader of the problem and those of its includes.
struct ReadContext {
  Problem& problem;
  const ReadOptions& options;
  fs::path problem_dir;
  std::vector<fs::path> open_files;  // the chain of includes being read, for cycles
};

class FileReader {
 public:
  FileReader(ReadContext& context, std::string_view text, std::string file)
      : ctx_(context), problem_(context.problem), lex_(text, std::move(file)) {}

  void read_all() {
    while (lex_.peek().kind != Tok::End) statement();
  }

 private:
  [[noreturn]] void fail(int line, const std::string& message,
                         ConvertError::Kind kind = ConvertError::Kind::kSyntax) const {
    throw ConvertError(lex_.file(), line, message, kind);
  }

  [[noreturn]] void unexpected(const std::string& wanted) const { tptp::unexpected(lex_, wanted); }
  Token expect(Tok kind, const std::string& wanted) { return tptp::expect(lex_, kind, wanted); }
  bool accept(Tok kind) { return tptp::accept(lex_, kind); }

  void statement() {
    const Token& head = lex_.peek();
    if (head.kind != Tok::LowerWord) unexpected("cnf(...), fof(...) or include(...)");
    if (head.text == "cnf") {
      clause();
    } else if (head.text == "fof") {
      formula();
    } else if (head.text == "include") {
      include();
    } else if (head.text == "tff" || head.text == "thf" || head.text == "tcf" ||
               head.text == "tpi") {
      fail(head.line,
           "'" + head.text +
               "' formula: typed and higher-order formulas cannot be converted; only "
               "clauses (cnf) and untyped first-order formulas (fof)",
           ConvertError::Kind::kInappropriate);
    } else {
      unexpected("cnf(...), fof(...) or include(...)");
    }
  }

  // A clause or include name: a word, a quoted word or an integer.
  Symbol name(std::string* key) { return read_name(lex_, key); }

  // Skips a run of general terms up to, not including, the ')' or ',' that
  // ends it at nesting level 0.  Annotations are free-form data that the
  // clause set does not depend on.
  void skip_general_data(bool stop_at_comma) {
    int depth = 0;
    while (true) {
      const Token& token = lex_.peek();
      switch (token.kind) {
        case Tok::End:
          unexpected("')'");
        case Tok::LParen:
        case Tok::LBracket:
          ++depth;
          break;
        case Tok::RParen:
        case Tok::RBracket:
          if (depth == 0) {
            if (token.kind == Tok::RBracket) unexpected("')'");
            return;
          }
          --depth;
          break;
        case Tok::Comma:
          if (depth == 0 && stop_at_comma) return;
          break;
        case Tok::Dot:
          if (depth == 0) unexpected("')'");
          break;
        default:
          break;
      }
      lex_.take();
    }
  }

  void clause() {
    int line = lex_.take().line;
    expect(Tok::LParen, "'(' after cnf");
    Clause clause;
    clause.file = lex_.file();
    clause.line = line;
    clause.name = name(&clause.name_key);
    expect(Tok::Comma, "',' after the clause name");
    Token role = expect(Tok::LowerWord, "a role such as axiom or negated_conjecture");
    if (lex_.peek().kind == Tok::Other && lex_.peek().text == "-") {
      lex_.take();
      skip_general_data(true);
    }
    // A negated conjecture is what a refutation starts from; hypotheses keep
    // their own type; every other role is a plain premise.
    clause.role = role.text == "negated_conjecture" ? Role::Conjecture
                  : role.text == "hypothesis"       ? Role::Hypothesis
                                                    : Role::Axiom;
    clause.role_text = role.text;
    expect(Tok::Comma, "',' after the role");
    variables_.clear();
    disjunction(clause);
    if (accept(Tok::Comma)) skip_general_data(false);
    expect(Tok::RParen, "')' or '|' after the clause");
    expect(Tok::Dot, "'.' after cnf(...)");
    clause.variables.resize(variables_.size());
    for (const auto& [variable, index] : variables_) clause.variables[index] = variable;
    problem_.clauses.push_back(std::move(clause));
  }

  // A fof statement is kept as read; clausify turns it into clauses once the
  // whole problem is known (the conjectures are negated together).
  void formula() {
    Formula formula;
    formula.line = lex_.take().line;
    formula.file = lex_.file();
    expect(Tok::LParen, "'(' after fof");
    formula.name = name(&formula.name_key);
    expect(Tok::Comma, "',' after the formula name");
    formula.role_text = expect(Tok::LowerWord, "a role such as axiom or conjecture").text;
    if (lex_.peek().kind == Tok::Other && lex_.peek().text == "-") {
      lex_.take();
      skip_general_data(true);
    }
    expect(Tok::Comma, "',' after the role");
    formula.root = read_fof_formula(lex_, problem_, formula.variables);
    if (accept(Tok::Comma)) skip_general_data(false);
    expect(Tok::RParen, "')' or a binary connective after the formula");
    expect(Tok::Dot, "'.' after fof(...)");
    problem_.formulas.push_back(std::move(formula));
  }

  void disjunction(Clause& clause) {
    unit(true, clause);
    while (accept(Tok::Bar)) unit(true, clause);
  }

  // One literal, or a parenthesised disjunction, under `positive`.  Only a
  // single literal can be negated inside a clause.
  void unit(bool positive, Clause& clause) {
    common::check_stack();
    const Token& token = lex_.peek();
    if (token.kind == Tok::Tilde) {
      lex_.take();
      unit(!positive, clause);
    } else if (token.kind == Tok::LParen) {
      lex_.take();
      if (positive) {
        disjunction(clause);
      } else {
        unit(false, clause);
        if (lex_.peek().kind == Tok::Bar)
          fail(lex_.peek().line, "a negated disjunction is not a clause");
      }
      expect(Tok::RParen, "')' or '|'");
    } else {
      atomic(positive, clause);
    }
  }

  void atomic(bool positive, Clause& clause) {
    int line = lex_.peek().line;
    std::string error = add_atomic_literal(
        lex_, problem_, positive, term(), [this] { return term(); }, clause);
    if (!error.empty()) fail(line, error);
  }

  std::uint32_t term() {
    return read_term(lex_, problem_, [this](const Token& token) {
      return variables_.try_emplace(token.text, static_cast<std::uint32_t>(variables_.size()))
          .first->second;
    });
  }

  void include() {
    int line = lex_.take().line;
    expect(Tok::LParen, "'(' after include");
    Token file = expect(Tok::SingleQuoted, "a quoted file name");
    std::optional<std::unordered_set<std::string>> selection;
    std::vector<std::pair<std::string, Symbol>> selected;
    if (accept(Tok::Comma)) {
      expect(Tok::LBracket, "'[' opening the list of selected clauses");
      selection.emplace();
      if (lex_.peek().kind != Tok::RBracket) {
        do {
          std::string key;
          Symbol symbol = name(&key);
          if (selection->insert(key).second) selected.emplace_back(key, symbol);
        } while (accept(Tok::Comma));
      }
      expect(Tok::RBracket, "',' or ']' in the list of selected clauses");
    }
    expect(Tok::RParen, "')' after the included file");
    expect(Tok::Dot, "'.' after include(...)");

    fs::path path = resolve(file.text, line);
    fs::path identity = fs::weakly_canonical(path);
    if (std::find(ctx_.open_files.begin(), ctx_.open_files.end(), identity) !=
        ctx_.open_files.end())
      fail(line, "'" + file.text + "' includes itself (directly or through other includes)",
           ConvertError::Kind::kInput);
    std::string text = read_whole_file(path.string(), lex_.file(), line);
    std::size_t first = problem_.clauses.size();
    std::size_t first_formula = problem_.formulas.size();
    ctx_.open_files.push_back(identity);
    FileReader(ctx_, text, path.string()).read_all();
    ctx_.open_files.pop_back();
    if (!selection) return;

    std::unordered_set<std::string> found;
    auto keep = std::stable_partition(problem_.clauses.begin() + static_cast<std::ptrdiff_t>(first),
                                      problem_.clauses.end(), [&](const Clause& clause) {
                                        if (!selection->contains(clause.name_key)) return false;
                                        found.insert(clause.name_key);
                                        return true;
                                      });
    problem_.clauses.erase(keep, problem_.clauses.end());
    auto keep_formulas = std::stable_partition(
        problem_.formulas.begin() + static_cast<std::ptrdiff_t>(first_formula),
        problem_.formulas.end(), [&](const Formula& formula) {
          if (!selection->contains(formula.name_key)) return false;
          found.insert(formula.name_key);
          return true;
        });
    problem_.formulas.erase(keep_formulas, problem_.formulas.end());
    for (const auto& [key, symbol] : selected)
      if (!found.contains(key))
        fail(line, "'" + file.text + "' has no clause named " + symbol.spelling,
             ConvertError::Kind::kInput);
  }

  fs::path resolve(const std::string& name, int line) const {
    fs::path relative(name);
    std::error_code ec;
    if (relative.is_absolute()) {
      if (!fs::exists(relative, ec))
        fail(line, "included file '" + name + "' does not exist", ConvertError::Kind::kInput);
      return relative;
    }
    if (ctx_.options.root) {
      fs::path candidate = fs::path(*ctx_.options.root) / relative;
      if (!fs::exists(candidate, ec))
        fail(line,
             "included file '" + name + "' is not in the TPTP root '" + *ctx_.options.root + "'",
             ConvertError::Kind::kInput);
      return candidate;
    }
    for (fs::path dir = ctx_.problem_dir;; dir = dir.parent_path()) {
      fs::path candidate = dir / relative;
      if (fs::exists(candidate, ec)) return candidate;
      if (dir == dir.parent_path() || dir.empty()) break;
    }
    fail(line,
         "included file '" + name +
             "' is in no directory above the problem; give the TPTP root with --root "
             "or the TPTP environment variable",
         ConvertError::Kind::kInput);
  }

  ReadContext& ctx_;
  Problem& problem_;
  Lexer lex_;
  std::unordered_map<std::string, std::uint32_t> variables_;  // of the clause being read
};

}  // namespace

void read_problem(Problem& problem, const std::string& path, const ReadOptions& options,
                  const std::optional<std::string>& text) {
  std::error_code ec;
  fs::path absolute = fs::absolute(path, ec);
  if (ec) absolute = path;
  ReadContext context{problem, options, absolute.parent_path(), {fs::weakly_canonical(absolute)}};
  std::string contents = text ? *text : read_whole_file(path, path, 0);
  FileReader(context, contents, path).read_all();
  problem.has_conjecture =
      std::any_of(problem.formulas.begin(), problem.formulas.end(),
                  [](const Formula& formula) { return formula.role_text == "conjecture"; });
}

}  // namespace tptp
