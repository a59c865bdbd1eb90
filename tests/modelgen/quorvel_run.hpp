// Runs the built quorvel on a clause file written from a string.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/run_program.hpp"

namespace quorvel_test {

using testing_support::RunResult;

// Writes `contents` to a fresh file and runs quorvel with `options` and that file.
inline RunResult run_on(const std::vector<std::string>& options, const std::string& contents) {
  static int serial = 0;
  std::string name = std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                     "-" + std::to_string(++serial) + ".txt";
  std::vector<std::string> args = options;
  args.push_back(testing_support::write_temp_file(name, contents));
  return testing_support::run_program(QUORVEL_BIN, args);
}

inline RunResult run_args(const std::vector<std::string>& args) {
  return testing_support::run_program(QUORVEL_BIN, args);
}

// Expects a normal run (status 0, nothing on standard error) printing `out`.
inline void expect_output(const RunResult& result, const std::string& out) {
  EXPECT_EQ(result.out, out);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.status, 0);
}

}  // namespace quorvel_test
