// quorvel: propositional model generator.
//   quorvel <option>s <filename>
#include <cstdio>
#include <string_view>
#include <vector>

#include "modelgen/model_generator.hpp"

int main(int argc, char** argv) {
  static char buffer[1 << 16];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  std::vector<std::string_view> words(argv + 1, argv + argc);
  return modelgen::call_quorvel(words);
}
