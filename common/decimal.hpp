// Decimal numbers in the two ways the programs read them.
//
// Option arguments are read the way the C library's base-10 string-to-long
// conversion reads them: leading white space, one optional sign, then digits
// up to the first non-digit; a word that does not start with a number reads
// as 0, and values beyond the 64-bit range saturate.
//
// Numbers inside input files are read strictly: the whole word must be an
// optional sign and decimal digits, and a value outside the 64-bit range is
// reported as such, never wrapped or clipped, so that the reader can name
// the file and line of the faulty number.
#pragma once

#include <cstdint>
#include <string_view>

namespace common {

std::int64_t read_decimal(const char* word);

enum class DecimalStatus {
  kOk,          // the value is stored
  kNotDecimal,  // not an optional sign followed by at least one digit
  kOutOfRange,  // a decimal integer beyond the signed 64-bit range
};

// Reads `word` as a whole; stores the value only when the result is kOk.
DecimalStatus parse_decimal(std::string_view word, std::int64_t& value);

}  // namespace common
