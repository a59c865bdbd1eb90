// Entry point of velkor: the whole run happens on a thread with a large
// stack, since the search recurses once per step of a tableau branch.
#include <cstdio>
#include <string>
#include <vector>

#include "common/large_stack.hpp"
#include "prover/driver/driver.hpp"

int main(int argc, char** argv) {
  static char buffer[1 << 16];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  std::vector<std::string> words(argv, argv + argc);
  int status = common::run_with_large_stack([&] { return velkor::run_velkor(words); });
  std::fflush(stdout);
  return status;
}
