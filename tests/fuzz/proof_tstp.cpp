// proof-check's reader of TSTP refutations: the block between the SZS
// markers is found and read, its clauses compared with each other and
// grounded, as the check does before it asks quorvel.
#include "tptp/error.hpp"
#include "tools/proof_check/tstp.hpp"

namespace tstp = proof_check::tstp;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  tstp::BlockPosition block = tstp::find_refutation(text);
  if (!block.found || !block.complete) return 0;
  try {
    tstp::Refutation refutation = tstp::read_refutation(text, block, "fuzz.out");
    std::vector<const tptp::Clause*> clauses;
    const tptp::Clause* previous = nullptr;
    for (const tstp::Line& line : refutation.lines) {
      if (!line.cnf) continue;
      if (previous != nullptr) {
        tstp::is_instance(refutation.terms, *previous, line.clause);
        tstp::is_variant(refutation.terms, *previous, refutation.terms, line.clause);
      }
      previous = &line.clause;
      clauses.push_back(&line.clause);
    }
    tstp::general_syntax(refutation.terms, clauses);
    if (!clauses.empty()) tstp::to_string(refutation.terms, *clauses.back());
  } catch (const tptp::ConvertError&) {
  }
  return 0;
}
