// The one way the converter reports a problem it cannot convert: a message
// tied to a file and a line, thrown from wherever the fault is noticed and
// turned into the program's error report at the top.
#pragma once

#include <stdexcept>
#include <string>

namespace tptp {

class ConvertError : public std::runtime_error {
 public:
  // What is wrong: the text does not follow the language, the problem
  // cannot be used as it stands (a missing include, an empty clause where
  // none can be written), or it is in a language the converter does not take.
  enum class Kind { kSyntax, kInput, kInappropriate };

  ConvertError(std::string file, int line, const std::string& message, Kind kind = Kind::kSyntax)
      : std::runtime_error(message), file_(std::move(file)), line_(line), kind_(kind) {}

  const std::string& file() const { return file_; }
  int line() const { return line_; }  // 0 when no line applies
  Kind kind() const { return kind_; }
  // "FILE:LINE: message", or "FILE: message" when no line applies.
  std::string where_and_what() const {
    return file_ + ":" + (line_ > 0 ? std::to_string(line_) + ":" : std::string()) + " " + what();
  }

 private:
  std::string file_;
  int line_;
  Kind kind_;
};

}  // namespace tptp
