// Entry point of velkor: the whole run happens on a thread with a large
// stack, since the search recurses once per step of a tableau branch.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "common/large_stack.hpp"
#include "prover/prover.hpp"

int main(int argc, char** argv) {
  static char buffer[1 << 16];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  std::vector<std::string> words(argv, argv + argc);
  int status = common::run_with_large_stack([&] {
    auto prover = std::make_unique<velkor::Prover>();
    return prover->call_velkor(words);
  });
  std::fflush(stdout);
  return status;
}
