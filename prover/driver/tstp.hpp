// Proofs in TSTP, the TPTP world's format for derivations.
//
// A closed connection tableau is a refutation of the clause instances it
// uses: the instances alone are propositionally unsatisfiable.  So the
// proof is written as the input clauses used, with their sources, one
// `instantiation` step per instance, and a final `$false` that cites every
// instance.  A subgoal closed by an entry of the lemma index rests on what
// that entry rests on; those instances are listed too, instantiated as the
// lemma was used, so that the listed instances are unsatisfiable on their own.
#pragma once

#include <string>

#include "prover/equality/modify.hpp"
#include "prover/models/models.hpp"
#include "prover/problem/problem.hpp"
#include "prover/prover.hpp"
#include "prover/saturation/saturation.hpp"
#include "tptp/writer.hpp"

namespace velkor {

struct ProofSource {
  std::string problem_path;          // as given on the command line
  std::string problem_name;          // for the SZS lines
  const Problem* problem = nullptr;  // null for an input_clause problem
  // The clause set the prover searched, written from the problem or from
  // the equality modification's clauses (`modification`, else null).
  const tptp::Written* written = nullptr;
  const equality::Modification* modification = nullptr;
};

// The refutation of the proof the prover has just found, between the SZS
// output lines.
std::string tstp_refutation(Prover& prover, const ProofSource& source);

// The refutation of a TPTP problem that has an empty clause: that clause.
std::string empty_clause_refutation(Prover& prover, const ProofSource& source);

// Whether the proof just found rests on a clause of type conjecture: an
// instance in the tableau, or one that an index lemma it used rests on.
// Also true when that cannot be told (lemmas used, their derivations not
// kept): a Theorem is never wrong where the axioms are contradictory.
bool proof_uses_conjecture(const Prover& prover);

// A refutation by ground instances that are propositionally unsatisfiable:
// the problem's clauses they instantiate, one instantiation step each (the
// clauses of equality theory are leaves), and a final $false citing them.
std::string ground_refutation(Prover& prover, const ProofSource& source,
                              const std::vector<models::GroundInstance>& instances);

// A refutation by saturation: the problem's clauses the derivation rests
// on, each derived clause with its rule, replay entries and parents, parents
// first, the last one $false.
std::string saturation_refutation(Prover& prover, const ProofSource& source,
                                  const std::vector<saturation::ProofStep>& steps);

}  // namespace velkor
