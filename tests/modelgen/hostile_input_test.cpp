// Hostile clause files: numbers at and beyond the ends of the 64-bit range
// are input errors with file and line, never wrapped or negated past their
// range; a file that needs more memory than there is ends the run cleanly.
#include <string>

#include "tests/modelgen/quorvel_run.hpp"

namespace quorvel_test {
namespace {

TEST(HostileInput, NumbersOutOfRangeAreInputErrors) {
  struct Case {
    std::vector<std::string> options;
    std::string file;
    std::string message;  // the end of standard error, after "quorvel: FILE"
  };
  const std::string cnf = "p cnf 2 1\n";
  for (const Case& c : {
           // 2^64 + 1 once wrapped round to 1.
           Case{{},
                cnf + "18446744073709551617 -2 0\n",
                ":2: integer out of range: \"18446744073709551617\"\n"},
           Case{{},
                "p cnf 18446744073709551619 1\n1 -2 0\n",
                ":1: integer out of range: \"18446744073709551619\"\n"},
           Case{{},
                "c a comment first\np cnf 2 99999999999999999999\n1 0\n",
                ":2: integer out of range: \"99999999999999999999\"\n"},
           Case{{},
                cnf + "1 -9223372036854775809 0\n",
                ":2: integer out of range: \"-9223372036854775809\"\n"},
           // The extremes that fit are read, then refused as literals.
           Case{{},
                cnf + "-9223372036854775808 0\n",
                ":2: literal -9223372036854775808 outside the declared atoms 1 to 2\n"},
           Case{{}, "c\np cnf 2 2\n1 0\n", ":2: the header declares 2 clauses, the file holds 1\n"},
           // The atom number of the most negative integer has no signed form.
           Case{{},
                "(1)\n(-9223372036854775808)\n",
                ":2: atom number 9223372036854775808 outside 1 to 65536\n"},
           Case{{},
                "(9223372036854775807)\n",
                ":1: atom number 9223372036854775807 outside 1 to 65536\n"},
           Case{{}, "(9223372036854775808)\n", ":1: integer out of range\n"},
           Case{{"-geninput"}, "((a) (-9223372036854775809))\n", ":1: integer out of range\n"},
       }) {
    RunResult result = run_on(c.options, c.file);
    EXPECT_EQ(result.out, "") << c.file;
    EXPECT_TRUE(result.err.starts_with("quorvel: ") && result.err.ends_with(c.message))
        << c.file << "\n"
        << result.err;
    EXPECT_EQ(result.status, 2) << c.file;
  }
}

// The sanitizers reserve more address space than any limit leaves.
#if !defined(__SANITIZE_ADDRESS__)
TEST(HostileInput, RunningOutOfMemoryIsReported) {
  // Ten million open lists need far more than 200 MB of reader state.
  std::string path =
      testing_support::write_temp_file("open-lists.txt", std::string(10'000'000, '('));
  RunResult result = testing_support::run_program(
      "/bin/sh", {"-c", "ulimit -v 200000 && exec \"$0\" \"$1\"", QUORVEL_BIN, path});
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "quorvel: " + path + ": out of memory\n");
  EXPECT_EQ(result.status, 4);
}
#endif

}  // namespace
}  // namespace quorvel_test
