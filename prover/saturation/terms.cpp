// The term bank: hash-consing over an arena, with the weights, ground flags
// and variable bounds the rest of the engine reads instead of walking.
#include "prover/saturation/terms.hpp"

#include <algorithm>

namespace velkor::saturation {
namespace {

std::uint32_t mix(std::uint32_t h, std::uint64_t x) {
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdULL;
  x ^= x >> 33;
  return (h ^ static_cast<std::uint32_t>(x)) * 0x9e3779b1u + 0x7f4a7c15u;
}

std::uint32_t hash_of(std::uint32_t symbol, Term* const* args, std::uint32_t arity) {
  std::uint32_t h = mix(0x811c9dc5u, symbol);
  for (std::uint32_t i = 0; i < arity; ++i) h = mix(h, reinterpret_cast<std::uintptr_t>(args[i]));
  return h;
}

}  // namespace

TermBank::TermBank() : slots_(1024, Slot{0, nullptr}) {
  SymbolInfo truth;
  truth.weight = 1;
  truth.rank = -1;  // below every symbol of the problem
  add_symbol(truth);
  truth_ = make(kTruthSymbol, nullptr);
}

std::uint32_t TermBank::add_symbol(const SymbolInfo& info) {
  symbols_.push_back(info);
  return static_cast<std::uint32_t>(symbols_.size() - 1);
}

Term* TermBank::variable(std::uint32_t n) {
  if (n >= variables_.size()) variables_.resize(std::size_t{n} + 1, nullptr);
  Term*& v = variables_[n];
  if (v == nullptr) {
    v = arena_.make<Term>();
    v->symbol = n;
    v->weight = 1;
    v->size = 1;
    v->hash = mix(0x12345u, n);
    v->variables = n + 1;
    v->variable = true;
    ++count_;
  }
  return v;
}

Term* TermBank::make(std::uint32_t symbol, Term* const* args) {
  const std::uint32_t arity = symbols_[symbol].arity;
  const std::uint32_t h = hash_of(symbol, args, arity);
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = h & mask;
  for (; slots_[i].term != nullptr; i = (i + 1) & mask) {
    if (slots_[i].hash != h) continue;
    Term* t = slots_[i].term;
    if (t->symbol != symbol) continue;
    std::uint32_t k = 0;
    while (k < arity && t->args[k] == args[k]) ++k;
    if (k == arity) return t;
  }
  Term* t = arena_.make<Term>();
  t->symbol = symbol;
  t->arity = arity;
  t->hash = h;
  t->ground = true;
  t->weight = symbols_[symbol].weight;
  t->size = 1;
  if (arity > 0) {
    t->args = arena_.array<Term*>(arity);
    for (std::uint32_t k = 0; k < arity; ++k) {
      Term* a = args[k];
      t->args[k] = a;
      t->weight = add_weights(t->weight, a->weight);
      t->size = add_weights(t->size, a->size);
      t->ground = t->ground && a->ground;
      t->variables = std::max(t->variables, a->variables);
    }
  }
  slots_[i] = Slot{h, t};
  if (++count_ * 2 > slots_.size()) grow();
  return t;
}

void TermBank::grow() {
  std::vector<Slot> old(slots_.size() * 2, Slot{0, nullptr});
  old.swap(slots_);
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& s : old) {
    if (s.term == nullptr) continue;
    std::size_t i = s.hash & mask;
    while (slots_[i].term != nullptr) i = (i + 1) & mask;
    slots_[i] = s;
  }
}

Term* subterm_at(Term* t, const std::uint32_t* path, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) t = t->args[path[i]];
  return t;
}

Term* replace_at(TermBank& bank, Term* t, const std::uint32_t* path, std::size_t length, Term* by) {
  if (length == 0) return by;
  // Down the path, then rebuild the spine bottom-up.
  std::vector<Term*> spine;
  spine.reserve(length);
  for (std::size_t i = 0; i < length; ++i) {
    spine.push_back(t);
    t = t->args[path[i]];
  }
  std::vector<Term*> args;
  for (std::size_t i = length; i-- > 0;) {
    Term* parent = spine[i];
    args.assign(parent->args, parent->args + parent->arity);
    args[path[i]] = by;
    by = bank.make(parent->symbol, args.data());
  }
  return by;
}

Term* rename(TermBank& bank, Term* t, const std::vector<std::uint32_t>& map) {
  if (t->ground) return t;
  if (t->variable) return bank.variable(map[t->symbol]);
  std::vector<Term*> args(t->arity);
  for (std::uint32_t i = 0; i < t->arity; ++i) args[i] = rename(bank, t->args[i], map);
  return bank.make(t->symbol, args.data());
}

bool occurs_in(std::uint32_t v, Term* t) {
  if (t->variables <= v) return false;
  if (t->variable) return t->symbol == v;
  for (std::uint32_t i = 0; i < t->arity; ++i)
    if (occurs_in(v, t->args[i])) return true;
  return false;
}

std::string term_text(const std::vector<std::string>& names, Term* root,
                      const std::vector<std::string>* variable_names) {
  std::string out;
  struct Frame {
    Term* term;
    std::uint32_t next;
  };
  std::vector<Frame> stack{{root, 0}};
  while (!stack.empty()) {
    Frame& f = stack.back();
    Term* t = f.term;
    if (t->variable) {
      if (variable_names != nullptr && t->symbol < variable_names->size())
        out += (*variable_names)[t->symbol];
      else
        out += "X" + std::to_string(t->symbol + 1);
      stack.pop_back();
      continue;
    }
    if (f.next == 0) out += names[t->symbol];
    if (f.next == t->arity) {
      if (t->arity > 0) out += ')';
      stack.pop_back();
      continue;
    }
    out += f.next == 0 ? '(' : ',';
    Term* arg = t->args[f.next++];
    stack.push_back({arg, 0});
  }
  return out;
}

}  // namespace velkor::saturation
