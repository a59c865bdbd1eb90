#include "prover/driver/schedule.hpp"

namespace velkor {

const std::vector<ScheduleRow>& schedule_table() {
  // Chosen by bench/schedule/measure and choose; see the README for the
  // figures behind each row.  Measured per class (clause problems, EPR or
  // not, first-order ones, MPTP) at 2 s and 10 s, no schedule of today's
  // option sets proved more than this one on any class, so it is the only
  // row.  A row for a class and a limit goes before it, for example
  //   {"fof-equality-short", kFirstOrder | kEquality, 0, 2.5,
  //    {{"OPTIONS", 0.3}, {"OPTIONS", 0.5, kEquality}, {"COMPLETE OPTIONS", 0.2}}},
  // (shares add up to 1; the last slice also gets whatever time is left).
  static const std::vector<ScheduleRow> table = {
      {"general",
       0,
       0,
       0,
       {
           // The equality modification proves most equational problems in a
           // fraction of a second or not at all (MPTP at 10 s, see the
           // README): a quarter of the time, the other sets keep their
           // proportions in the rest.  With the subgoal index and its
           // fold-up it proves every MPTP problem it proves without them
           // and a third more within that quarter.
           {"--equality-modification -reg -sgindex -indexfoldup", 0.25, kEquality},
           {"-reg --conjecture-start", 0.035},
           {"-reg -sgindex -indexfoldup", 0.21},
           {"-reg -sgindex -indexfoldup --restricted-backtracking", 0.35},
           // Finite models answer the non-theorems that no tableau search
           // can: small models come within a fraction of a second or not
           // at all.
           {"--models", 0.05},
           {"-reg -dynsgreord 0 -complexity 1", 0.105},
       }},
  };
  return table;
}

Schedule choose_schedule(const ProblemFeatures& f, double seconds) {
  const std::vector<ScheduleRow>& table = schedule_table();
  const ScheduleRow* row = &table.back();
  for (const ScheduleRow& r : table)
    if (f.has(r.require) && (f.traits & r.exclude) == 0 && (r.up_to <= 0 || seconds <= r.up_to)) {
      row = &r;
      break;
    }
  Schedule s{row->name, {}};
  double total = 0;
  for (const Slice& slice : row->slices)
    if (f.has(slice.needs)) {
      s.slices.push_back(slice);
      total += slice.share;
    }
  // A row whose every slice needs what the class lacks would leave nothing
  // to run; the rows keep a last slice without needs, and this keeps the
  // promise if one does not.
  if (s.slices.empty()) return Schedule{row->name, {{row->slices.back().options, 1.0}}};
  for (Slice& slice : s.slices) slice.share /= total;
  return s;
}

}  // namespace velkor
