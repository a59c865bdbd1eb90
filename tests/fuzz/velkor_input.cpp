// velkor's input_clause reader: a problem text is read into the prover's
// records and its report is made; a syntax error ends the run with
// ProverExit after its message, as on the command line.
#include <cstdio>
#include <memory>

#include "prover/prover.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static std::FILE* sink = std::fopen("/dev/null", "w");
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto prover = std::make_unique<velkor::Prover>();
  prover->out = sink;
  prover->err = sink;
  try {
    prover->parse_problem(text);
    prover->display_statistics();
  } catch (const velkor::ProverExit&) {
  }
  return 0;
}
