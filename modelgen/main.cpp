// quorvel: propositional model generator.
//   quorvel <option>s <filename>
#include <cstdio>
#include <exception>
#include <new>
#include <string_view>
#include <vector>

#include "modelgen/model_generator.hpp"

int main(int argc, char** argv) {
  static char buffer[1 << 16];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  // The run catches what it can report with the file name; this is the
  // last guard, for failures before or around the run.
  try {
    std::vector<std::string_view> words(argv + 1, argv + argc);
    return modelgen::call_quorvel(words);
  } catch (const std::bad_alloc&) {
    std::fflush(stdout);
    std::fputs("quorvel: out of memory\n", stderr);
  } catch (const std::exception& error) {
    std::fflush(stdout);
    std::fprintf(stderr, "quorvel: %s\n", error.what());
  } catch (...) {
    std::fflush(stdout);
    std::fputs("quorvel: unknown failure\n", stderr);
  }
  return modelgen::kStatusRunFailed;
}
