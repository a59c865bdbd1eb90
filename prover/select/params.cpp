// The spelling of a selection's parameters: sine:TOLERANCE[:DEPTH[:THRESHOLD[:LIMIT]]],
// one word, so that a command line or a slice of a schedule names a
// selection the way it names an engine option.
#include <charconv>
#include <cmath>

#include "prover/select/select.hpp"

namespace velkor::select {
namespace {

// Whole numbers up to 2^31 - 1, digits only.
bool read_count(std::string_view word, std::uint32_t& value) {
  if (word.empty() || word.size() > 10) return false;
  std::uint64_t n = 0;
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), n);
  if (error != std::errc() || end != word.data() + word.size() || n > INT32_MAX) return false;
  value = static_cast<std::uint32_t>(n);
  return true;
}

// Digits with an optional fraction, at least 1: below 1 no symbol would
// trigger the premises it occurs in.
bool read_tolerance(std::string_view word, double& value) {
  if (word.empty() || word.size() > 12 || word.find_first_not_of("0123456789.") != word.npos)
    return false;
  double x = 0;
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), x);
  if (error != std::errc() || end != word.data() + word.size() || !std::isfinite(x) || x < 1)
    return false;
  value = x;
  return true;
}

}  // namespace

bool parse_params(std::string_view selection, Params& params) {
  std::vector<std::string_view> fields;
  for (std::size_t at = 0;;) {
    std::size_t colon = selection.find(':', at);
    fields.push_back(selection.substr(at, colon == selection.npos ? selection.npos : colon - at));
    if (colon == selection.npos) break;
    at = colon + 1;
  }
  if (fields.size() < 2 || fields.size() > 5 || fields[0] != "sine") return false;
  Params read;
  if (!read_tolerance(fields[1], read.tolerance)) return false;
  std::uint32_t* counts[] = {&read.depth, &read.generality_threshold, &read.limit};
  for (std::size_t i = 2; i < fields.size(); ++i)
    if (!read_count(fields[i], *counts[i - 2])) return false;
  params = read;
  return true;
}

}  // namespace velkor::select
