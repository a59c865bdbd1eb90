#include "common/decimal.hpp"

#include <cerrno>
#include <cstdlib>

namespace common {

std::int64_t read_decimal(const char* word) {
  errno = 0;
  long long value = std::strtoll(word, nullptr, 10);  // saturates on overflow
  return static_cast<std::int64_t>(value);
}

}  // namespace common
