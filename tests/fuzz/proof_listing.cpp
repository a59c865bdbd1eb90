// proof-check's readers of velkor's own syntax: the USED CLAUSES listing of
// a proof and a problem's input_clause entries.  Each listed instance is
// compared with its clause and grounded, as the check does before it asks
// quorvel.
#include "tools/proof_check/proof.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  proof_check::UsedClauses used = proof_check::parse_used_clauses(text);
  std::vector<proof_check::Clause> ground;
  for (const proof_check::UsedClause& entry : used.clauses) {
    for (const proof_check::Clause& instance : entry.instances) {
      proof_check::is_instance(entry.clause, instance);
      ground.push_back(proof_check::ground(instance));
    }
  }
  proof_check::general_syntax(ground);
  proof_check::parse_problem(text);
  return 0;
}
