#include "prover/tptp/convert.hpp"

#include <exception>
#include <new>

#include "common/large_stack.hpp"
#include "prover/tptp/error.hpp"
#include "prover/tptp/reader.hpp"
#include "prover/tptp/writer.hpp"

namespace tptp {

ConvertResult convert(const ConvertOptions& options) {
  ConvertResult result;
  common::run_with_large_stack([&] {
    try {
      Problem problem;
      read_problem(problem, options.problem_path, ReadOptions{options.root}, options.text);
      Written written =
          write_problem(problem, WriteOptions{options.equality_axioms, options.keep_tautologies});
      result.output = std::move(written.text);
      result.clauses = written.clauses;
      result.dropped = written.dropped;
      result.equality_axioms = written.equality_axioms;
      result.ok = true;
    } catch (const ConvertError& error) {
      result.error = error.where_and_what();
    } catch (const std::bad_alloc&) {
      result.error = options.problem_path + ": not enough memory to convert the problem";
    } catch (const std::exception& error) {
      result.error = options.problem_path + ": " + error.what();
    }
    return 0;
  });
  if (!result.ok) result.output.clear();
  return result;
}

}  // namespace tptp
