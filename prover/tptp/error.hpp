// The one way the converter reports a problem it cannot convert: a message
// tied to a file and a line, thrown from wherever the fault is noticed and
// turned into the program's error report at the top.
#pragma once

#include <stdexcept>
#include <string>

namespace tptp {

class ConvertError : public std::runtime_error {
 public:
  ConvertError(std::string file, int line, const std::string& message)
      : std::runtime_error(message), file_(std::move(file)), line_(line) {}

  const std::string& file() const { return file_; }
  int line() const { return line_; }  // 0 when no line applies

 private:
  std::string file_;
  int line_;
};

}  // namespace tptp
