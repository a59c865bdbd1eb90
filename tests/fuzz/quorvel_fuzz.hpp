// quorvel's clause input for the fuzz targets of its three syntaxes: the
// text is read as the named syntax and filed into clause and atom records,
// which is everything quorvel does with a clause file before the search.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "modelgen/model_generator.hpp"

namespace fuzz {

enum class QuorvelSyntax { kInteger, kGeneral, kDimacs };

inline int read_quorvel(const std::uint8_t* data, std::size_t size, QuorvelSyntax syntax) {
  static std::FILE* sink = std::fopen("/dev/null", "w");
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto generator = std::make_unique<modelgen::ModelGenerator>();
  generator->out = sink;
  generator->literal_marks.assign(2 * static_cast<std::size_t>(modelgen::kInputAtomLimit) + 1, 0);
  try {
    switch (syntax) {
      case QuorvelSyntax::kInteger:
        generator->read_integer_syntax(text);
        break;
      case QuorvelSyntax::kGeneral:
        generator->generic_input = true;
        generator->read_general_syntax(text);
        break;
      case QuorvelSyntax::kDimacs:
        generator->dimacs_input = true;
        generator->read_dimacs(text);
        break;
    }
    generator->build_clause_records();
  } catch (const modelgen::InputError&) {
  } catch (const modelgen::RunStopped&) {
  }
  return 0;
}

}  // namespace fuzz
