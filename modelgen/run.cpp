// Run sequence of quorvel: options, clause input, the attempts, the result
// line.  Every way the run can end passes through here, so standard output
// is flushed exactly once before the status is returned.
#include <exception>
#include <memory>
#include <new>

#include "common/large_stack.hpp"
#include "modelgen/model_generator.hpp"

namespace modelgen {

int ModelGenerator::quorvel(std::span<const std::string_view> words) {
  try {
    parse_options(words);
    read_clauses(words);
    make_labels();
    // An empty clause can never be satisfied: the answer needs no search.
    if (!empty_clause_read && conflict_driven) {
      conflict_driven_search();
    } else if (!empty_clause_read) {
      search_result = split_search(0, 0, 0);
      if (step_limit > 0) restart_attempts();
    }
    if (sat_competition) {
      int status = print_competition_result();
      std::fflush(out);
      return status;
    }
    print_result_line();
  } catch (const RunStopped& stop) {
    std::fflush(out);
    return stop.status;
  } catch (const std::bad_alloc&) {
    std::fflush(out);
    std::fprintf(stderr, "quorvel: %s: out of memory\n", file_name.c_str());
    return kStatusRunFailed;
  } catch (const std::exception& error) {
    std::fflush(out);
    std::fprintf(stderr, "quorvel: %s: %s\n", file_name.c_str(), error.what());
    return kStatusRunFailed;
  } catch (...) {
    std::fflush(out);
    std::fprintf(stderr, "quorvel: %s: unknown failure\n", file_name.c_str());
    return kStatusRunFailed;
  }
  std::fflush(out);
  return kStatusOk;
}

int call_quorvel(std::span<const std::string_view> words) {
  auto generator = std::make_unique<ModelGenerator>();
  if (words.empty()) {
    generator->print_usage();
    std::fflush(generator->out);
    return kStatusOk;
  }
  // The search recurses once per assigned atom.
  return common::run_with_large_stack([&] { return generator->quorvel(words); });
}

}  // namespace modelgen
