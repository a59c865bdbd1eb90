// Runs a built program the way a user does and captures everything it shows:
// standard output, standard error and the exit status.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

struct RunResult {
  std::string out;
  std::string err;
  int status = -1;  // exit status, or 128 + signal number when killed
};

// Runs `program` with `args`; the child's standard input is /dev/null.
RunResult run_program(const std::string& program, const std::vector<std::string>& args,
                      int timeout_seconds = 120);

// This test program's own directory under TMPDIR (else /tmp), removed at its end.
std::string temp_dir();

// A file in that directory holding `contents`; returns its path.
std::string write_temp_file(const std::string& name, const std::string& contents);

// Whole contents of a file ("" if it cannot be read).
std::string read_file(const std::string& path);

}  // namespace testing_support
