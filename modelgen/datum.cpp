// Data of the clause file: the S-expression reader, structural equality and
// hashing, interning of general-syntax literals as atom numbers, and the
// display form of a datum used as an atom's label.
//
// Lists may nest to any depth, so reading, comparing and displaying walk
// them with explicit stacks instead of recursion.  Every datum gets its
// structural hash when it is made (a list from its elements' hashes), which
// makes the interning hash free and lets equality reject most pairs at once.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "common/decimal.hpp"
#include "modelgen/model_generator.hpp"

namespace modelgen {
namespace {

std::uint64_t mix(std::uint64_t h) {
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  h *= 0xc4ceb9fe1a85ec53ULL;
  h ^= h >> 33;
  return h;
}

std::uint64_t hash_text(Datum::Kind kind, std::string_view text) {
  std::uint64_t h = 0xcbf29ce484222325ULL ^ static_cast<std::uint64_t>(kind);
  for (unsigned char c : text) h = (h ^ c) * 0x100000001b3ULL;
  return mix(h);
}

bool is_delimiter(char c) {
  return std::isspace(static_cast<unsigned char>(c)) || c == '(' || c == ')' || c == '"' ||
         c == ';';
}

// True when `token` is an optional sign followed by decimal digits only.
bool looks_numeric(std::string_view token) {
  std::size_t i = (token[0] == '+' || token[0] == '-') ? 1 : 0;
  if (i == token.size()) return false;
  for (; i < token.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(token[i]))) return false;
  return true;
}

}  // namespace

void* Arena::allocate(std::size_t bytes, std::size_t alignment) {
  std::size_t skip = (alignment - reinterpret_cast<std::uintptr_t>(next_) % alignment) % alignment;
  if (next_ == nullptr || skip + bytes > left_) {
    std::size_t size = std::max(kBlockBytes, bytes + alignment);
    blocks_.push_back(std::make_unique<std::byte[]>(size));
    next_ = blocks_.back().get();
    left_ = size;
    skip = (alignment - reinterpret_cast<std::uintptr_t>(next_) % alignment) % alignment;
  }
  std::byte* result = next_ + skip;
  next_ = result + bytes;
  left_ -= skip + bytes;
  return result;
}

std::string_view DatumReader::keep(std::string_view text) {
  char* copy = arena_.make_array<char>(text.size());
  std::memcpy(copy, text.data(), text.size());
  return {copy, text.size()};
}

const Datum* DatumReader::make_list(std::size_t first, std::uint32_t line) {
  std::size_t size = pending_.size() - first;
  auto** elements = arena_.make_array<const Datum*>(size);
  std::uint64_t h = 0x9e3779b97f4a7c15ULL;
  for (std::size_t i = 0; i < size; ++i) {
    elements[i] = pending_[first + i];
    h = mix(h ^ elements[i]->hash) + i;
  }
  pending_.resize(first);
  auto* list = arena_.make_array<Datum>(1);
  *list = Datum{Datum::Kind::kList, line, mix(h ^ size), 0, {}, {elements, size}};
  return list;
}

const Datum* DatumReader::read_atom() {
  auto* datum = arena_.make_array<Datum>(1);
  std::uint32_t line = line_;
  if (text_[position_] == '"') {
    scratch_.clear();
    ++position_;
    for (;;) {
      if (position_ == text_.size()) throw InputError{line, "string not closed"};
      char c = text_[position_++];
      if (c == '"') break;
      if (c == '\n') ++line_;
      if (c == '\\' && position_ < text_.size()) {
        c = text_[position_++];
        if (c == 'n') c = '\n';
        if (c == 't') c = '\t';
        if (c == '\n') ++line_;
      }
      scratch_.push_back(c);
    }
    std::string_view text = keep(scratch_);
    *datum = Datum{Datum::Kind::kString, line, hash_text(Datum::Kind::kString, text), 0, text, {}};
    return datum;
  }
  std::size_t begin = position_;
  while (position_ < text_.size() && !is_delimiter(text_[position_])) ++position_;
  std::string_view token = text_.substr(begin, position_ - begin);
  if (looks_numeric(token)) {
    std::int64_t value = 0;
    if (common::parse_decimal(token, value) != common::DecimalStatus::kOk)
      throw InputError{line, "integer out of range"};
    *datum = Datum{Datum::Kind::kInteger,
                   line,
                   mix(static_cast<std::uint64_t>(value) ^ 0x5bd1e995),
                   value,
                   {},
                   {}};
    return datum;
  }
  scratch_.assign(token);
  for (char& c : scratch_) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string_view text = keep(scratch_);
  *datum = Datum{Datum::Kind::kSymbol, line, hash_text(Datum::Kind::kSymbol, text), 0, text, {}};
  return datum;
}

const Datum* DatumReader::next() {
  for (;;) {
    while (position_ < text_.size()) {
      char c = text_[position_];
      if (c == '\n') {
        ++line_;
        ++position_;
      } else if (std::isspace(static_cast<unsigned char>(c))) {
        ++position_;
      } else if (c == ';') {
        while (position_ < text_.size() && text_[position_] != '\n') ++position_;
      } else {
        break;
      }
    }
    if (position_ == text_.size()) {
      if (!open_.empty()) throw InputError{open_.back().line, "list not closed"};
      return nullptr;
    }
    const Datum* done = nullptr;
    char c = text_[position_];
    if (c == '(') {
      open_.push_back({pending_.size(), line_});
      ++position_;
      continue;
    }
    if (c == ')') {
      if (open_.empty()) throw InputError{line_, "unexpected \")\""};
      ++position_;
      OpenList list = open_.back();
      open_.pop_back();
      done = make_list(list.first, list.line);
    } else {
      done = read_atom();
    }
    if (open_.empty()) return done;
    pending_.push_back(done);
  }
}

bool ModelGenerator::equal_data(const Datum* a, const Datum* b) {
  compare_stack.clear();
  compare_stack.emplace_back(a, b);
  while (!compare_stack.empty()) {
    auto [x, y] = compare_stack.back();
    compare_stack.pop_back();
    if (x == y) continue;
    if (x->kind != y->kind || x->hash != y->hash) return false;
    switch (x->kind) {
      case Datum::Kind::kInteger:
        if (x->integer != y->integer) return false;
        break;
      case Datum::Kind::kSymbol:
      case Datum::Kind::kString:
        if (x->text != y->text) return false;
        break;
      case Datum::Kind::kList:
        if (x->elements.size() != y->elements.size()) return false;
        for (std::size_t i = 0; i < x->elements.size(); ++i)
          compare_stack.emplace_back(x->elements[i], y->elements[i]);
        break;
    }
  }
  return true;
}

// Linear probing from the datum's 16-bit hash; entry 0 is never used, so the
// numbers run from 1 to 65535.
std::int32_t ModelGenerator::intern_datum(const Datum* datum) {
  if (datum_table.empty()) datum_table.assign(kInputAtomLimit, nullptr);
  std::uint64_t h64 = datum->hash;
  std::int32_t h =
      static_cast<std::int32_t>((h64 ^ (h64 >> 16) ^ (h64 >> 32) ^ (h64 >> 48)) & 0xffff);
  for (std::int32_t probes = 0; probes <= kMaxDatumLiterals; ++probes, ++h) {
    if (h == 0 || h == kInputAtomLimit) h = 1;
    const Datum*& entry = datum_table[static_cast<std::size_t>(h)];
    if (entry == nullptr) {
      if (distinct_literals == kMaxDatumLiterals) break;
      ++distinct_literals;
      entry = datum;
      return h;
    }
    if (equal_data(entry, datum)) return h;
  }
  throw InputError{datum->line, "more than 65535 distinct literals"};
}

std::string_view ModelGenerator::display_datum(const Datum* datum) {
  std::string text;
  std::vector<std::pair<const Datum*, std::size_t>> stack{{datum, 0}};
  while (!stack.empty()) {
    auto& [d, next] = stack.back();
    if (d->kind != Datum::Kind::kList) {
      if (d->kind == Datum::Kind::kInteger)
        text += std::to_string(d->integer);
      else
        text += d->text;
      stack.pop_back();
      continue;
    }
    if (next == 0) text += '(';
    if (next == d->elements.size()) {
      text += ')';
      stack.pop_back();
      continue;
    }
    if (next > 0) text += ' ';
    const Datum* element = d->elements[next++];
    stack.emplace_back(element, 0);
  }
  char* copy = arena.make_array<char>(text.size());
  std::memcpy(copy, text.data(), text.size());
  return {copy, text.size()};
}

}  // namespace modelgen
