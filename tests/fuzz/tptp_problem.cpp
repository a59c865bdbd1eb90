// The TPTP library's reader: cnf and fof problems read from memory,
// clausified and written as input_clause entries, the path every TPTP
// problem takes into velkor.  Includes are resolved in a folder that does
// not exist, so each one fails as a missing file.
#include "tptp/clausify.hpp"
#include "tptp/error.hpp"
#include "tptp/reader.hpp"
#include "tptp/writer.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  tptp::Problem problem;
  tptp::ReadOptions options;
  options.root = "/nonexistent-fuzz-root";
  try {
    tptp::read_problem(problem, "fuzz.p", options, std::string(text));
    tptp::clausify(problem);
    tptp::write_problem(problem);
  } catch (const tptp::ConvertError&) {
  }
  return 0;
}
