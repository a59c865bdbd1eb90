#include "prover/driver/selection.hpp"

#include "prover/select/select.hpp"

namespace velkor {

std::unique_ptr<TptpProblem> read_selected_problem(Prover& p, const std::string& path) {
  select::Params params;
  if (!select::parse_params(p.premise_selection, params)) return read_tptp_problem(path);
  tptp::Problem whole = read_tptp_statements(path);
  const select::Selection selection = select::select_premises(whole, params);
  p.print("% selection: " + selection.description + "\n");
  p.flush();
  if (!selection.partial()) return prepare_tptp_problem(std::move(whole));
  std::unique_ptr<TptpProblem> kept =
      prepare_tptp_problem(select::restrict_problem(whole, selection));
  kept->premises_left_out = true;
  return kept;
}

}  // namespace velkor
