// quorvel's clause input in the integer syntax.
#include "tests/fuzz/quorvel_fuzz.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzz::read_quorvel(data, size, fuzz::QuorvelSyntax::kInteger);
}
