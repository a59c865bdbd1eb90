// What every fuzz target shares.  The programs run their work on a thread
// with a large stack; a fresh thread per input would cost the fuzzer most of
// its speed, so the targets run on libFuzzer's own thread instead, and
// tools/fuzz gives that thread a large stack (ulimit -s) and caps the input
// size, which bounds any recursion over nesting depth.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace fuzz {

inline std::string_view as_text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace fuzz
