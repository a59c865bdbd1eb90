#include "prover/driver/tstp.hpp"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "tptp/fof.hpp"
#include "tptp/parsing.hpp"

namespace velkor {
namespace {

bool is_word(std::string_view s, bool upper) {
  if (s.empty()) return false;
  char c = s[0];
  if (upper ? !(c >= 'A' && c <= 'Z') : !(c >= 'a' && c <= 'z')) return false;
  return std::all_of(s.begin(), s.end(), [](char x) {
    return (x >= 'a' && x <= 'z') || (x >= 'A' && x <= 'Z') || (x >= '0' && x <= '9') || x == '_';
  });
}

bool is_integer(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char x) { return x >= '0' && x <= '9'; });
}

std::string quoted(std::string_view s) {
  std::string text = "'";
  for (char c : s) {
    if (c == '\'' || c == '\\') text += '\\';
    text += c;
  }
  return text + "'";
}

// A name of a clause or symbol as TPTP reads it back.
std::string tptp_word(std::string_view s) {
  return is_word(s, false) ? std::string(s) : quoted(s);
}

class RefutationWriter {
 public:
  RefutationWriter(Prover& prover, const ProofSource& source) : p_(prover), source_(source) {
    if (source_.problem == nullptr) {
      for (Clause* c : p_.formula_clauses) problem_names_.insert(input_clause_name(c));
      return;
    }
    const tptp::Problem& problem = source_.problem->clauses;
    for (const tptp::Clause& clause : problem.clauses)
      problem_names_.insert(tptp::tptp_text(clause.name));
    for (const tptp::Formula& formula : problem.formulas)
      problem_names_.insert(tptp::tptp_text(formula.name));
    if (source_.written != nullptr)
      for (const tptp::WrittenClause& entry : source_.written->entries)
        problem_names_.insert(entry.name);
  }

  std::string run() {
    std::vector<Literal> step;
    for (Clause* c : p_.formula_clauses)
      for (std::int64_t k = 0; k < c->free_copies; ++k) {
        const ClauseCopy* copy = c->copies[k];
        add_instance(c, literals_text(copy->subgoals, c->length, c));
        if (p_.difference_justification(copy, step))
          add_instance(nullptr, literals_text(step.data(), std::ssize(step), nullptr));
      }
    for (const Prover::BranchLemmaUse& use : p_.lemma_uses) {
      add_symmetry(use.symmetric_sign, use.symmetric_args);
      expand(use.derivation, p_.lemma_use_terms.data() + use.first, use.nr_bindings);
    }

    print_start();
    std::vector<Clause*> used;
    for (const Instance& i : instances_)
      if (i.clause != nullptr && std::find(used.begin(), used.end(), i.clause) == used.end())
        used.push_back(i.clause);
    std::sort(used.begin(), used.end(),
              [](const Clause* a, const Clause* b) { return a->number < b->number; });
    for (Clause* c : used) input_line(c);
    std::vector<std::string> cited;
    // The clauses of equality theory behind equality steps, then the instances.
    for (const Instance& i : instances_) {
      if (i.clause != nullptr) continue;
      std::string name = fresh("e_" + std::to_string(cited.size() + 1));
      out_ += ("cnf(" + name + ", plain, " + i.text + ", theory(equality)).\n");
      cited.push_back(std::move(name));
    }
    for (const Instance& i : instances_) {
      if (i.clause == nullptr) continue;
      std::string name = fresh("i_" + std::to_string(cited.size() + 1));
      out_ += ("cnf(" + name + ", plain, " + i.text +
               ", inference(instantiation, [status(thm)], [" + line_names_[i.clause] + "])).\n");
      cited.push_back(std::move(name));
    }
    std::string refutation = "cnf(" + fresh("refutation") +
                             ", plain, $false, inference(connection_tableau, [status(thm)], [";
    for (std::size_t i = 0; i < cited.size(); ++i) refutation += (i > 0 ? ", " : "") + cited[i];
    out_ += (refutation + "])).\n");
    print_end();
    return std::move(out_);
  }

  // Ground instances of the problem's clauses (and of equality theory).
  std::string run_ground(const std::vector<models::GroundInstance>& instances) {
    print_start();
    const tptp::Problem& problem = source_.problem->clauses;
    std::unordered_map<std::size_t, std::string> clause_lines;
    std::vector<std::string> cited;
    for (const models::GroundInstance& i : instances) {
      std::string line;
      if (i.clause == models::GroundInstance::kTheory ||
          i.clause == models::GroundInstance::kDistinctObjects) {
        line = fresh("e_" + std::to_string(cited.size() + 1));
        out_ += ("cnf(" + line + ", plain, " + i.text +
                 (i.clause == models::GroundInstance::kTheory ? ", theory(equality)).\n"
                                                              : ", theory(distinct_objects)).\n"));
      } else {
        auto [it, inserted] = clause_lines.try_emplace(i.clause);
        if (inserted) {
          const tptp::Clause& clause = problem.clauses[i.clause];
          std::string origin = origin_of(clause);
          it->second = fresh(tptp::tptp_text(clause.name), true);
          out_ += ("cnf(" + it->second + ", " + tptp_role(clause) + ", " +
                   tptp::clause_text(problem, clause) + ", " + origin + ").\n");
        }
        line = fresh("i_" + std::to_string(cited.size() + 1));
        out_ += ("cnf(" + line + ", plain, " + i.text +
                 ", inference(instantiation, [status(thm)], [" + it->second + "])).\n");
      }
      cited.push_back(std::move(line));
    }
    std::string refutation =
        "cnf(" + fresh("refutation") +
        ", plain, $false, inference(propositional_refutation, [status(thm)], [";
    for (std::size_t i = 0; i < cited.size(); ++i) refutation += (i > 0 ? ", " : "") + cited[i];
    out_ += (refutation + "])).\n");
    print_end();
    return std::move(out_);
  }

  // A derivation by saturation.
  std::string run_saturation(const std::vector<saturation::ProofStep>& steps) {
    print_start();
    const tptp::Problem& problem = source_.problem->clauses;
    std::unordered_map<std::size_t, std::string> clause_lines;
    std::vector<std::string> names(steps.size());
    auto parent_name = [&](const saturation::ProofParent& parent) {
      if (!parent.problem_clause) return names[parent.index];
      auto [it, inserted] = clause_lines.try_emplace(parent.index);
      if (inserted) {
        const tptp::Clause& clause = problem.clauses[parent.index];
        std::string origin = origin_of(clause);
        it->second = fresh(tptp::tptp_text(clause.name), true);
        out_ += ("cnf(" + it->second + ", " + tptp_role(clause) + ", " +
                 tptp::clause_text(problem, clause) + ", " + origin + ").\n");
      }
      return it->second;
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
      const saturation::ProofStep& step = steps[i];
      if (step.rule == "theory") {
        names[i] = fresh("distinct_" + std::to_string(i + 1));
        out_ +=
            ("cnf(" + names[i] + ", axiom, " + step.clause + ", theory(" + step.theory + ")).\n");
        continue;
      }
      std::vector<std::string> parents;
      for (const saturation::ProofParent& parent : step.parents)
        parents.push_back(parent_name(parent));
      std::string info = "[status(thm)";
      if (!step.info.empty()) info += ", " + step.info;
      // A clause with a renamed copy of itself has a substitution for each
      // citation, in their order, even an empty one.
      const bool twice = parents.size() == 2 && parents[0] == parents[1];
      for (std::size_t k = 0; k < step.bindings.size() && k < parents.size(); ++k)
        if (twice || !step.bindings[k].empty())
          info += ", subst(" + parents[k] + ", [" + step.bindings[k] + "])";
      info += "]";
      std::string cited;
      for (const std::string& name : parents) cited += (cited.empty() ? "" : ", ") + name;
      names[i] = fresh(i + 1 == steps.size() ? "refutation" : "s_" + std::to_string(i + 1));
      out_ += ("cnf(" + names[i] + ", plain, " + step.clause + ", inference(" + step.rule + ", " +
               info + ", [" + cited + "])).\n");
    }
    print_end();
    return std::move(out_);
  }

  // A problem with an empty clause: the tableau of that clause alone.
  std::string run_empty_clause(std::size_t index) {
    print_start();
    const tptp::Clause& clause = source_.problem->clauses.clauses[index];
    std::string origin = origin_of(clause);
    std::string leaf = fresh(tptp::tptp_text(clause.name), true);
    out_ += ("cnf(" + leaf + ", " + tptp_role(clause) + ", $false, " + origin + ").\n");
    std::string instance = fresh("i_1");
    out_ += ("cnf(" + instance + ", plain, $false, inference(instantiation, [status(thm)], [" +
             leaf + "])).\n");
    out_ +=
        ("cnf(" + fresh("refutation") +
         ", plain, $false, inference(connection_tableau, [status(thm)], [" + instance + "])).\n");
    print_end();
    return std::move(out_);
  }

 private:
  struct Instance {
    Clause* clause;
    std::string text;
  };

  void print_start() {
    out_ += ("% SZS output start CNFRefutation for " + source_.problem_name + "\n");
  }
  void print_end() {
    out_ += ("% SZS output end CNFRefutation for " + source_.problem_name + "\n");
  }

  // A name no other line of the refutation has.  A name of the problem is
  // kept for its own line; a derived one is also distinct from every name
  // of the problem, and a lower-case word (1 or 'my ax' followed by _2
  // would be no TPTP name).
  std::string fresh(const std::string& base, bool problem_name = false) {
    if ((problem_name || !problem_names_.contains(base)) && used_names_.insert(base).second)
      return base;
    std::string stem = tptp::derived_word(unquoted(base));
    for (int k = 2;; ++k) {
      std::string candidate = stem + "_" + std::to_string(k);
      if (!problem_names_.contains(candidate) && used_names_.insert(candidate).second)
        return candidate;
    }
  }

  static std::string unquoted(const std::string& name) {
    return name.size() >= 2 && name.front() == '\'' ? name.substr(1, name.size() - 2) : name;
  }

  static std::string input_clause_name(const Clause* c) {
    std::string written;
    for (std::int64_t i = 0; i < c->name_length; ++i)
      written += std::string(i == 0 ? "" : i == 1 ? "(" : ",") + std::string(c->name[i]->text);
    if (c->name_length > 1) written += ")";
    return tptp_word(written);
  }

  std::string symbol(const Name* name, bool predicate) const {
    std::string_view text = name == p_.name_equal ? std::string_view("equal") : name->text;
    if (source_.written != nullptr) {
      const auto& renamed = source_.written->tptp_spelling;
      auto found = renamed.find(std::string(text));
      if (found != renamed.end()) return found->second;
    }
    if (!predicate && is_integer(text)) return std::string(text);
    return tptp_word(text);
  }

  // Variables of a line are numbered by first occurrence, or keep their
  // names (input clauses, whose names are distinct within the clause).
  struct Variables {
    bool keep_names;
    std::unordered_map<const Term*, std::string> names;
  };

  void term(std::string& out, Term* t, Variables& vars) const {
    t = Prover::ref(t);
    if (is_variable(t)) {
      auto [it, inserted] = vars.names.try_emplace(t);
      if (inserted)
        it->second = vars.keep_names && is_word(t->name->text, true)
                         ? std::string(t->name->text)
                         : "X" + std::to_string(vars.names.size());
      out += it->second;
      return;
    }
    out += symbol(t->functor->name, false);
    if (t->functor->arity == 0) return;
    out += '(';
    for (std::int64_t i = 0; i < t->functor->arity; ++i) {
      if (i > 0) out += ',';
      term(out, t->args[i], vars);
    }
    out += ')';
  }

  // `n` literals as they stand (a clause's own, a copy's subgoals, an
  // instance kept for a lemma), with the signs of clause `signs`, or their
  // own signs when it is null.
  std::string literals_text(const Literal* literals, std::int64_t n, const Clause* signs,
                            bool keep_names = false) const {
    Variables vars{keep_names, {}};
    std::string out;
    for (std::int64_t i = 0; i < n; ++i) {
      if (i > 0) out += " | ";
      const Literal& l = literals[i];
      const bool positive = (signs != nullptr ? signs->literals[i].sign : l.sign) == '+';
      if (l.predicate->name == p_.name_equal && l.predicate->arity == 2) {
        term(out, l.args[0], vars);
        out += positive ? " = " : " != ";
        term(out, l.args[1], vars);
        continue;
      }
      if (!positive) out += '~';
      out += symbol(l.predicate->name, true);
      if (l.predicate->arity == 0) continue;
      out += '(';
      for (std::int64_t j = 0; j < l.predicate->arity; ++j) {
        if (j > 0) out += ',';
        term(out, l.args[j], vars);
      }
      out += ')';
    }
    return out;
  }

  // An instance of clause `c`, or with `c` null a clause of equality theory.
  void add_instance(Clause* c, std::string text) {
    if (seen_.insert(std::to_string(c != nullptr ? c->number : 0) + ":" + text).second)
      instances_.push_back(Instance{c, std::move(text)});
  }

  // The instances a lemma entry rests on, for the bindings it was used
  // with: its variables are bound to them while the instances are read.
  void expand(Derivation* d, Term* const* bindings, std::int64_t n) {
    if (d == nullptr) return;
    std::string key = std::to_string(reinterpret_cast<std::uintptr_t>(d));
    Variables vars{false, {}};
    for (std::int64_t i = 0; i < n; ++i) {
      key += ',';
      term(key, bindings[i], vars);
    }
    if (!expanded_.insert(key).second) return;
    p_.push_mark();
    for (std::int64_t i = 0; i < n && i < d->nr_variables; ++i) {
      Term* cell = Prover::ref(d->variables[i]);
      if (is_variable(cell) && cell != Prover::ref(bindings[i])) p_.bind(cell, bindings[i]);
    }
    for (std::int64_t i = 0; i < d->nr_instances; ++i)
      add_instance(d->clauses[i], literals_text(d->instances[i], d->lengths[i], nullptr));
    for (std::int64_t i = 0; i < d->nr_uses; ++i) {
      add_symmetry(d->uses[i].symmetric_sign, d->uses[i].symmetric_args);
      expand(d->uses[i].derivation, d->uses[i].bindings, d->uses[i].nr_bindings);
    }
    p_.unbind_vars();
  }

  // A lemma entry that closed the subgoal x != y (x = y) of the equality
  // modification with its arguments swapped gives y = x (y != x): the
  // instance of symmetry between the two, a theory leaf, lets the tableau's
  // instances stay a propositional refutation.  Sign 0: a direct use.
  void add_symmetry(char sign, Term* const* args) {
    if (sign == 0) return;
    Term* given[2] = {args[1], args[0]};
    Term* used[2] = {args[0], args[1]};
    Literal pair[2] = {};
    pair[0].predicate = pair[1].predicate = p_.equal_predicate;
    // x = y | y != x for a positive entry, y = x | x != y for a negative one.
    pair[0].sign = '+';
    pair[0].args = sign == '+' ? used : given;
    pair[1].sign = '-';
    pair[1].args = sign == '+' ? given : used;
    add_instance(nullptr, literals_text(pair, 2, nullptr));
  }

  // A clause made from formulas is derived (plain), or comes from the
  // negated conjecture; a written clause keeps its role.
  static std::string tptp_role(const tptp::Clause& clause) {
    if (clause.formulas.empty()) return clause.role_text;
    return clause.role == tptp::Role::Conjecture ? "negated_conjecture" : "plain";
  }

  // The source of a clause of the problem: the file it was written in, or
  // the clausification of its formulas, whose lines are printed first (a
  // conjecture as written, then its negation).
  std::string origin_of(const tptp::Clause& clause) {
    if (clause.formulas.empty())
      return "file(" + quoted(clause.file) + ", " + tptp::tptp_text(clause.name) + ")";
    const tptp::Problem& problem = source_.problem->clauses;
    bool conjecture = false;
    std::string parents, key;
    for (std::uint32_t f : clause.formulas) {
      const tptp::Formula& formula = problem.formulas[f];
      conjecture = conjecture || formula.role_text == "conjecture";
      auto [it, inserted] = formula_lines_.try_emplace(f);
      if (inserted) {
        it->second = fresh(tptp::tptp_text(formula.name), true);
        out_ += ("fof(" + it->second + ", " + formula.role_text + ", " +
                 tptp::formula_text(problem, f) + ", file(" + quoted(formula.file) + ", " +
                 tptp::tptp_text(formula.name) + ")).\n");
      }
      parents += (parents.empty() ? "" : ", ") + it->second;
      key += std::to_string(f) + ",";
    }
    if (conjecture) {
      auto [it, inserted] = negations_.try_emplace(key);
      if (inserted) {
        it->second =
            fresh(tptp::derived_word(unquoted(formula_lines_[clause.formulas[0]])) + "_negated");
        std::string claim;
        for (std::uint32_t f : clause.formulas)
          claim += (claim.empty() ? "(" : " & (") + tptp::formula_text(problem, f) + ")";
        out_ += ("fof(" + it->second + ", negated_conjecture, ~(" + claim +
                 "), inference(negate_conjecture, [status(cth)], [" + parents + "])).\n");
      }
      parents = it->second;
    }
    return std::string("inference(clausify, [status(") + (clause.esa ? "esa" : "thm") + ")], [" +
           parents + "])";
  }

  // The source of a clause of the equality modification: its original
  // clause (or the disequation of two distinct objects), printed first
  // (once), and the theory of equality, of which the modified clause is a
  // consequence (or, where an equation was named by a new predicate, with
  // which it is equisatisfiable).
  std::string modification_of(const equality::Origin& from, const tptp::Clause& modified) {
    const bool theory = from.distinct_objects;
    const std::uint64_t key = (std::uint64_t{theory} << 32) | from.clause;
    auto [it, inserted] = original_lines_.try_emplace(key);
    if (inserted) {
      if (theory) {
        // The modification's own clause holds the disequation as it was
        // before it was modified: its two objects.
        it->second = fresh(tptp::tptp_text(modified.name));
        out_ += ("cnf(" + it->second + ", axiom, " + distinct_pair_text(from.clause) +
                 ", theory(distinct_objects)).\n");
      } else {
        const tptp::Clause& clause = source_.problem->clauses.clauses[from.clause];
        std::string origin = origin_of(clause);
        it->second = fresh(tptp::tptp_text(clause.name));
        out_ += ("cnf(" + it->second + ", " + tptp_role(clause) + ", " +
                 tptp::clause_text(source_.problem->clauses, clause) + ", " + origin + ").\n");
      }
    }
    return std::string("inference(equality_modification, [status(") + (from.esa ? "esa" : "thm") +
           ")], [" + it->second + ", theory(equality)])";
  }

  // Distinct-object disequation k of the problem's theory.
  std::string distinct_pair_text(std::uint32_t k) const {
    const auto pairs = source_.problem->theory.distinct_pairs();
    const tptp::Problem& problem = source_.problem->clauses;
    return tptp::tptp_text(problem.symbol(pairs.at(k).first)) +
           " != " + tptp::tptp_text(problem.symbol(pairs.at(k).second));
  }

  std::string role(const Clause* c, const tptp::WrittenClause* entry) const {
    if (entry != nullptr) {
      if (entry->clause == tptp::WrittenClause::kEqualityAxiom ||
          entry->clause == tptp::WrittenClause::kDistinctObjects)
        return "axiom";
      return tptp_role(written_clause(*entry));
    }
    switch (c->type) {
      case ClauseType::kAxiom:
        return "axiom";
      case ClauseType::kHypothesis:
        return "hypothesis";
      case ClauseType::kConjecture:
        return "negated_conjecture";
      case ClauseType::kLemma:
        return "lemma";
      case ClauseType::kNone:
        break;
    }
    return "plain";
  }

  void input_line(Clause* c) {
    const tptp::WrittenClause* entry = nullptr;
    if (source_.written != nullptr) {
      const auto& entries = source_.written->entries;
      entry = &entries.at(static_cast<std::size_t>(c->number - 1));
    }
    std::string name, origin;
    if (entry == nullptr) {
      name = input_clause_name(c);
      origin = "file(" + quoted(source_.problem_path) + ", " + name + ")";
    } else if (entry->clause == tptp::WrittenClause::kEqualityAxiom) {
      name = entry->name;
      origin = "theory(equality)";
    } else if (entry->clause == tptp::WrittenClause::kDistinctObjects) {
      name = entry->name;
      origin = "theory(distinct_objects)";
    } else if (source_.modification == nullptr) {
      const tptp::Clause& clause = written_clause(*entry);
      name = tptp::tptp_text(clause.name);
      origin = origin_of(clause);
    } else {
      const equality::Origin& from = source_.modification->origins.at(entry->clause);
      const tptp::Clause& clause = written_clause(*entry);
      name = tptp::tptp_text(clause.name);
      if (from.kind == equality::Origin::Kind::kModified)
        origin = modification_of(from, clause);
      else if (from.distinct_objects)
        origin = "theory(distinct_objects)";
      else
        origin = origin_of(source_.problem->clauses.clauses[from.clause]);
    }
    std::string line_name = fresh(name, true);
    line_names_[c] = line_name;
    out_ += ("cnf(" + line_name + ", " + role(c, entry) + ", " +
             literals_text(c->literals, c->length, c, true) + ", " + origin + ").\n");
  }

  // The clause of the clause set searched that an entry was written from.
  const tptp::Clause& written_clause(const tptp::WrittenClause& entry) const {
    return source_.modification != nullptr ? source_.modification->clauses.clauses.at(entry.clause)
                                           : source_.problem->clauses.clauses.at(entry.clause);
  }

  Prover& p_;
  const ProofSource& source_;
  std::string out_;  // the refutation's lines
  std::vector<Instance> instances_;
  std::unordered_set<std::string> seen_, expanded_, used_names_;
  std::unordered_set<std::string> problem_names_;  // of clauses, formulas and written entries
  std::unordered_map<const Clause*, std::string> line_names_;
  std::unordered_map<std::uint32_t, std::string> formula_lines_;   // printed fof lines
  std::unordered_map<std::string, std::string> negations_;         // of conjectures, by formulas
  std::unordered_map<std::uint64_t, std::string> original_lines_;  // of modified clauses
};

}  // namespace

std::string tstp_refutation(Prover& prover, const ProofSource& source) {
  return RefutationWriter(prover, source).run();
}

std::string empty_clause_refutation(Prover& prover, const ProofSource& source) {
  return RefutationWriter(prover, source).run_empty_clause(*source.problem->empty_clause);
}

namespace {

bool rests_on_conjecture(const Derivation* d) {
  if (d == nullptr) return false;
  for (std::int64_t i = 0; i < d->nr_instances; ++i)
    if (d->clauses[i] != nullptr && d->clauses[i]->type == ClauseType::kConjecture) return true;
  for (std::int64_t i = 0; i < d->nr_uses; ++i)
    if (rests_on_conjecture(d->uses[i].derivation)) return true;
  return false;
}

}  // namespace

bool proof_uses_conjecture(const Prover& prover) {
  if (prover.nr_matchings > 0 && !prover.record_derivations) return true;
  for (const Clause* c : prover.formula_clauses)
    if (c->type == ClauseType::kConjecture && c->free_copies > 0) return true;
  for (const Prover::BranchLemmaUse& use : prover.lemma_uses)
    if (rests_on_conjecture(use.derivation)) return true;
  return false;
}

std::string ground_refutation(Prover& prover, const ProofSource& source,
                              const std::vector<models::GroundInstance>& instances) {
  return RefutationWriter(prover, source).run_ground(instances);
}

std::string saturation_refutation(Prover& prover, const ProofSource& source,
                                  const std::vector<saturation::ProofStep>& steps) {
  return RefutationWriter(prover, source).run_saturation(steps);
}

}  // namespace velkor
