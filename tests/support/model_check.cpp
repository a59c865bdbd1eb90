#include "tests/support/model_check.hpp"

#include <cctype>
#include <functional>
#include <stdexcept>

#include "tptp/clausify.hpp"
#include "tptp/reader.hpp"
#include "tptp/writer.hpp"

namespace testing_support {
namespace {

std::string trim(const std::string& s) {
  std::size_t a = s.find_first_not_of(" \n"), b = s.find_last_not_of(" \n");
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

// The conjuncts of the formula of the line of `role`.
std::vector<std::string> conjuncts(const std::string& block, const std::string& role) {
  std::vector<std::string> parts;
  std::size_t at = block.find(role + ", (");
  if (at == std::string::npos) return parts;
  std::size_t begin = at + role.size() + 3, end = block.find(")).", begin);
  std::string body = block.substr(begin, end - begin);
  for (std::size_t from = 0;;) {
    std::size_t amp = body.find('&', from);
    parts.push_back(trim(body.substr(from, amp - from)));
    if (amp == std::string::npos) return parts;
    from = amp + 1;
  }
}

}  // namespace

PrintedModel read_model(const std::string& output) {
  PrintedModel m;
  const std::size_t start = output.find("fi_domain");
  if (start == std::string::npos) return m;
  const std::string block = output.substr(start, output.find("% SZS output end") - start);
  const std::string domain = block.substr(0, block.find('\n'));
  for (std::size_t at = domain.find("X = "); at != std::string::npos;
       at = domain.find("X = ", at)) {
    at += 4;
    m.domain.push_back(domain.substr(at, domain.find_first_of(" )", at) - at));
  }
  for (const std::string& f : conjuncts(block, "fi_functors")) {
    std::size_t eq = f.rfind(" = ");
    m.functions[f.substr(0, eq)] = f.substr(eq + 3);
  }
  for (const std::string& p : conjuncts(block, "fi_predicates"))
    m.atoms[p[0] == '~' ? trim(p.substr(1)) : p] = p[0] != '~';
  return m;
}

std::string model_faults(const std::string& path, const PrintedModel& m, bool free_numbers) {
  std::map<std::string, std::string> objects;  // element -> the distinct object on it
  for (const auto& [term, element] : m.functions) {
    const bool number = std::isdigit(static_cast<unsigned char>(term[0])) != 0;
    if (term[0] != '"' && !(number && !free_numbers)) continue;
    auto [it, inserted] = objects.try_emplace(element, term);
    if (!inserted) return it->second + " and " + term + " are one element";
  }
  tptp::Problem problem;
  tptp::read_problem(problem, path, {});
  tptp::clausify(problem);
  std::string faults;
  for (const tptp::Clause& clause : problem.clauses) {
    if (clause.always_true) continue;
    std::vector<std::size_t> values(clause.variables.size(), 0);
    // An atom or a term applied to the elements of its arguments, as the
    // block writes it; the element of a term.
    std::function<std::string(std::uint32_t)> eval;
    auto applied = [&](std::uint32_t at) {
      const tptp::Term& t = problem.terms[at];
      std::string key = tptp::tptp_text(problem.symbol(t.id));
      for (std::uint32_t k = 0; k < t.arity; ++k)
        key += (k == 0 ? "(" : ",") + eval(problem.args[t.first_arg + k]);
      return t.arity > 0 ? key + ")" : key;
    };
    eval = [&](std::uint32_t at) {
      const tptp::Term& t = problem.terms[at];
      return t.is_variable ? m.domain.at(values[t.id]) : m.functions.at(applied(at));
    };
    try {
      for (bool more = !m.domain.empty(); more;) {
        bool holds = false;
        for (const tptp::Literal& l : clause.literals) {
          bool atom = l.equality ? eval(l.left) == eval(l.right) : m.atoms.at(applied(l.left));
          if (atom == l.positive) holds = true;
        }
        if (!holds) {
          faults += "false: " + tptp::clause_text(problem, clause) + "\n";
          break;
        }
        // The next assignment.
        std::size_t k = values.size();
        while (k > 0 && ++values[k - 1] == m.domain.size()) values[--k] = 0;
        more = k > 0;
      }
    } catch (const std::out_of_range&) {
      faults += "a symbol without a value in: " + tptp::clause_text(problem, clause) + "\n";
    }
  }
  return m.domain.empty() ? "no model" : faults;
}

}  // namespace testing_support
