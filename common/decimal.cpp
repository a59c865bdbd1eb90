#include "common/decimal.hpp"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace common {

std::int64_t read_decimal(const char* word) {
  errno = 0;
  long long value = std::strtoll(word, nullptr, 10);  // saturates on overflow
  return static_cast<std::int64_t>(value);
}

DecimalStatus parse_decimal(std::string_view word, std::int64_t& value) {
  bool negative = !word.empty() && word[0] == '-';
  std::size_t i = (negative || (!word.empty() && word[0] == '+')) ? 1 : 0;
  if (i == word.size()) return DecimalStatus::kNotDecimal;
  // The magnitude is gathered unsigned and checked before every step, so it
  // never wraps; the most negative value has no positive counterpart and is
  // allowed one more than the largest positive one.
  const std::uint64_t limit =
      static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
  std::uint64_t magnitude = 0;
  bool too_large = false;
  for (; i < word.size(); ++i) {
    if (word[i] < '0' || word[i] > '9') return DecimalStatus::kNotDecimal;
    auto digit = static_cast<std::uint64_t>(word[i] - '0');
    if (magnitude > (limit - digit) / 10) too_large = true;
    if (!too_large) magnitude = magnitude * 10 + digit;
  }
  if (too_large) return DecimalStatus::kOutOfRange;
  value =
      negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
  return DecimalStatus::kOk;
}

}  // namespace common
