// Decimal conversion of option arguments, the way the C library's base-10
// string-to-long conversion reads them: leading white space, one optional
// sign, then digits up to the first non-digit; a word that does not start
// with a number reads as 0.  Values beyond the 64-bit range saturate.
#pragma once

#include <cstdint>

namespace common {

std::int64_t read_decimal(const char* word);

}  // namespace common
