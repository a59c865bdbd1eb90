// Runs the built velkor on problems written from strings and compares what it
// shows with the expected text.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/run_program.hpp"

namespace velkor_test {

using testing_support::RunResult;

// Writes `problem` to a fresh file and runs velkor with `options` and that file.
// Every occurrence of the file's path in the output is shown as FILE.
inline RunResult run_on(const std::vector<std::string>& options, const std::string& problem) {
  static int serial = 0;
  std::string name = std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                     "-" + std::to_string(++serial) + ".p";
  std::string path = testing_support::write_temp_file(name, problem);
  std::vector<std::string> args = options;
  args.push_back(path);
  RunResult result = testing_support::run_program(VELKOR_BIN, args);
  for (std::string* text : {&result.out, &result.err}) {
    for (size_t at = text->find(path); at != std::string::npos; at = text->find(path, at)) {
      text->replace(at, path.size(), "FILE");
    }
  }
  return result;
}

inline RunResult run_args(const std::vector<std::string>& args) {
  return testing_support::run_program(VELKOR_BIN, args);
}

// A normal run: status 0, nothing on standard error, exactly `out` on standard output.
inline void expect_output(const RunResult& result, const std::string& out) {
  EXPECT_EQ(result.out, out);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.status, 0);
}

// A normal run whose output after the file name line and the six-line problem
// report is exactly `search`; the report has tests of its own.
inline void expect_search(const RunResult& result, const std::string& search) {
  size_t at = 0;
  for (int line = 0; line < 7 && at != std::string::npos; ++line) {
    at = result.out.find('\n', at);
    if (at != std::string::npos) ++at;
  }
  EXPECT_EQ(at == std::string::npos ? result.out : result.out.substr(at), search);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.status, 0);
}

}  // namespace velkor_test
