// Output of literals, proofs and per-level inference counts.
//
// Literals are printed in the input syntax with the current bindings, so a
// printed lemma or proof instance can be read back by the reader.
#include <charconv>

#include "prover/prover.hpp"

namespace velkor {

void Prover::print(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), out);
}

void Prover::print(std::int64_t number) {
  char buffer[24];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, number);
  std::fwrite(buffer, 1, static_cast<std::size_t>(end - buffer), out);
}

void Prover::flush() {
  std::fflush(out);
}

void Prover::finish(int status) {
  flush();
  throw ProverExit{status};
}

void Prover::display_term(Term* t) {
  t = ref(t);
  if (is_variable(t)) {
    print(t->name->text);
    return;
  }
  // The reader interns every `equal` word as the equality name; print it
  // as written so printed literals read back the same.
  print(t->functor->name == name_equal ? std::string_view("equal") : t->functor->name->text);
  if (t->functor->arity == 0) return;
  print("(");
  for (std::int64_t i = 0; i < t->functor->arity; ++i) {
    if (i > 0) print(",");
    display_term(t->args[i]);
  }
  print(")");
}

namespace {

void display_atom(Prover& p, const Literal* s) {
  const Predicate* pred = s->predicate;
  p.print(pred->name == p.name_equal ? std::string_view("equal") : pred->name->text);
  if (pred->arity == 0) return;
  p.print("(");
  for (std::int64_t i = 0; i < pred->arity; ++i) {
    if (i > 0) p.print(",");
    p.display_term(s->args[i]);
  }
  p.print(")");
}

}  // namespace

void Prover::display_subgoal(const Literal* s) {
  print(s->sign == '+' ? "++" : "--");
  display_atom(*this, s);
}

void Prover::display_comp_subgoal(const Literal* s) {
  print(s->sign == '+' ? "--" : "++");
  display_atom(*this, s);
}

void Prover::display_proof_clauses(const std::vector<Clause*>& clauses) {
  for (Clause* c : clauses) {
    if (c->free_copies == 0) continue;  // no copy in use
    print("\nclause ");
    print(c->number);
    print(": ");
    for (std::int64_t i = 0; i < c->length; ++i) display_subgoal(&c->literals[i]);
    print("\ncopies: ");
    for (std::int64_t k = 0; k < c->free_copies; ++k) {
      ClauseCopy* copy = c->copies[k];
      // A subgoal folded up into a lemma has its sign flipped while the
      // proof is open; the instance shown is that of the clause literal.
      for (std::int64_t i = 0; i < c->length; ++i) {
        print(c->literals[i].sign == '+' ? "++" : "--");
        display_atom(*this, &copy->subgoals[i]);
      }
      print("\n        ");
    }
  }
  print("\n");
}

bool Prover::difference_justification(const ClauseCopy* a, std::vector<Literal>& out) {
  out.clear();
  if (a->differences == 0 || a->parent == nullptr) return false;
  const Literal* s = a->parent;
  const Literal* p = s->mate;
  Literal l{};
  l.sign = clause_sign(s) == '+' ? '-' : '+';
  l.predicate = s->predicate;
  l.args = s->args;
  out.push_back(l);
  l.sign = clause_sign(p) == '+' ? '-' : '+';
  l.predicate = p->predicate;
  l.args = p->args;
  out.push_back(l);
  const SubgoalGroup* g = eq_trail_groups[static_cast<std::size_t>(a->differences)];
  for (std::int64_t i = 0; i < g->count; ++i) {
    l = *eq_trail_literals[static_cast<std::size_t>(a->differences + i)];
    l.sign = '-';
    out.push_back(l);
  }
  return true;
}

void Prover::display_inferences(std::int64_t level) {
  print("Lev. ");
  print(level);
  print(": inferences: succ");
  if (sgindex) print(" match");
  print(" fail");
  if (constraints) print(" constr");
  print(": ");
  print(successful_inferences);
  if (sgindex) {
    print(" ");
    print(successful_matchings);
  }
  print(" ");
  print(failed_inferences);
  if (constraints) {
    print(" ");
    print(constraint_fails);
  }
  print("\n");
  flush();
  total_successful_inferences += successful_inferences;
  total_successful_matchings += successful_matchings;
  total_failed_inferences += failed_inferences;
  total_constraint_fails += constraint_fails;
  successful_inferences = successful_matchings = failed_inferences = constraint_fails = 0;
}

void Prover::grounding() {
  print("grounding entered\n");
}

}  // namespace velkor
