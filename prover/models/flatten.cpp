// Flattening: every clause becomes one whose literals have variables as
// arguments only, so that its instances over a finite domain mention table
// entries of the model directly.
//
// A term f(s..) inside a literal is named by a fresh variable v, and the
// clause gains the literal f(s'..) != v: "wherever f(s..) is v, the rest
// holds", which over all v says the same as the rest with f(s..) in place.
// Equal subterms of a clause share their variable.  The side of an equation
// that is a function term used nowhere else needs no name: s = t becomes
// f(x..) = y directly, which saves a variable (a factor of the domain size
// in the number of instances).
#include <map>

#include "prover/models/search.hpp"

namespace velkor::models {

void ModelSearch::flatten_clauses() {
  struct Node {
    bool variable;
    std::uint32_t id;  // variable index or symbol entry
    std::vector<std::uint32_t> args;
    std::uint32_t uses = 0;
    bool absorbed = false;
    std::uint32_t var = 0;
  };
  std::vector<Node> nodes;
  std::map<std::pair<std::uint32_t, std::vector<std::uint32_t>>, std::uint32_t> shared;
  std::vector<std::uint32_t> node_of;

  for (const CompiledClause& c : compiled) {
    if (c.literals.empty()) continue;
    nodes.clear();
    shared.clear();
    node_of.assign(c.steps.size(), 0);
    for (std::size_t s = 0; s < c.steps.size(); ++s) {
      const Step& step = c.steps[s];
      std::vector<std::uint32_t> args;
      for (std::uint32_t k = 0; k < step.arity; ++k)
        args.push_back(node_of[c.args[step.first + k]]);
      // Variables are keyed apart from symbols by an id no entry has.
      auto key = step.variable ? std::make_pair(~step.id, std::vector<std::uint32_t>{})
                               : std::make_pair(step.id, args);
      auto [it, inserted] = shared.try_emplace(key, static_cast<std::uint32_t>(nodes.size()));
      if (inserted) {
        for (std::uint32_t a : args) ++nodes[a].uses;
        nodes.push_back(Node{step.variable, step.id, std::move(args), 0, false, step.id});
      }
      node_of[s] = it->second;
    }
    // The literals' own uses; an equation side used only there is absorbed.
    for (const CompiledLiteral& l : c.literals) {
      if (!l.equality) {
        for (std::uint32_t a : nodes[node_of[l.left]].args) ++nodes[a].uses;
        continue;
      }
      ++nodes[node_of[l.left]].uses;
      ++nodes[node_of[l.right]].uses;
    }
    for (const CompiledLiteral& l : c.literals) {
      if (!l.equality) continue;
      for (std::uint32_t side : {node_of[l.left], node_of[l.right]})
        if (!nodes[side].variable && nodes[side].uses == 1 && node_of[l.left] != node_of[l.right]) {
          nodes[side].absorbed = true;
          break;
        }
    }
    std::uint32_t nr_variables = c.nr_variables;
    for (Node& n : nodes)
      if (!n.variable && !n.absorbed && n.uses > 0) n.var = nr_variables++;

    FlatClause flat{nr_variables, static_cast<std::uint32_t>(flat_literals.size()), 0};
    auto add = [&](FlatLiteral::Kind kind, bool positive, std::uint32_t entry,
                   const std::vector<std::uint32_t>& args, const std::uint32_t* value) {
      auto first = static_cast<std::uint32_t>(flat_args.size());
      for (std::uint32_t a : args) flat_args.push_back(nodes[a].var);
      if (value != nullptr) flat_args.push_back(*value);
      flat_literals.push_back(FlatLiteral{kind, positive, entry, first,
                                          static_cast<std::uint32_t>(flat_args.size() - first)});
      ++flat.nr_literals;
    };
    for (const CompiledLiteral& l : c.literals) {
      const Node& left = nodes[node_of[l.left]];
      if (!l.equality) {
        add(FlatLiteral::Kind::kPredicate, l.positive, left.id, left.args, nullptr);
        continue;
      }
      const Node& right = nodes[node_of[l.right]];
      if (left.absorbed)
        add(FlatLiteral::Kind::kFunction, l.positive, left.id, left.args, &right.var);
      else if (right.absorbed)
        add(FlatLiteral::Kind::kFunction, l.positive, right.id, right.args, &left.var);
      else
        add(FlatLiteral::Kind::kEquality, l.positive, 0, {node_of[l.left], node_of[l.right]},
            nullptr);
    }
    // The definitions of the named terms.
    for (const Node& n : nodes)
      if (!n.variable && !n.absorbed && n.uses > 0)
        add(FlatLiteral::Kind::kFunction, false, n.id, n.args, &n.var);
    flat_clauses.push_back(flat);
  }
}

}  // namespace velkor::models
