#include "prover/driver/schedule.hpp"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace velkor {
namespace {

// The traits by name, comma-separated; false on an unknown one.
bool read_traits(std::string_view list, unsigned& traits) {
  traits = 0;
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const std::string_view name = list.substr(0, comma);
    const unsigned trait = trait_of(name);
    if (trait == 0) return false;
    traits |= trait;
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
  }
  return true;
}

bool read_number(const std::string& word, double& value) {
  char* end = nullptr;
  value = std::strtod(word.c_str(), &end);
  return !word.empty() && *end == '\0' && value >= 0;
}

}  // namespace

bool parse_schedule(std::string_view text, ScheduleTable& table, std::string& error) {
  table.rows.clear();
  std::istringstream lines{std::string(text)};
  int number = 0;
  auto fail = [&](const std::string& what) {
    error = std::to_string(number) + ": " + what;
    return false;
  };
  for (std::string line; std::getline(lines, line);) {
    ++number;
    line = line.substr(0, line.find('#'));
    std::istringstream split(line);
    std::vector<std::string> words;
    for (std::string w; split >> w;) words.push_back(w);
    if (words.empty()) continue;
    if (words[0] == "row") {
      if (words.size() < 2) return fail("a row needs a name");
      if (!table.rows.empty() && table.rows.back().slices.empty())
        return fail("row " + table.rows.back().name + " has no slices");
      ScheduleRow row;
      row.name = words[1];
      for (std::size_t k = 2; k < words.size(); ++k) {
        const std::string& w = words[k];
        const std::size_t eq = w.find('=');
        const std::string key = w.substr(0, eq),
                          value = eq == std::string::npos ? "" : w.substr(eq + 1);
        bool ok = false;
        if (key == "require") ok = read_traits(value, row.require);
        if (key == "exclude") ok = read_traits(value, row.exclude);
        if (key == "up-to") ok = read_number(value, row.up_to);
        if (!ok) return fail("not a row setting: " + w);
      }
      table.rows.push_back(std::move(row));
      continue;
    }
    if (words[0] != "slice") return fail("a line is a row or a slice: " + words[0]);
    if (table.rows.empty()) return fail("a slice before the first row");
    Slice slice;
    if (words.size() < 3 || !read_number(words[1], slice.weight) || slice.weight <= 0)
      return fail("a slice needs a positive weight and options");
    std::size_t k = 2;
    if (words[k].rfind("needs=", 0) == 0) {
      if (!read_traits(std::string_view(words[k]).substr(6), slice.needs))
        return fail("not a list of traits: " + words[k]);
      ++k;
    }
    if (k == words.size()) return fail("a slice needs options");
    for (; k < words.size(); ++k) slice.options += (slice.options.empty() ? "" : " ") + words[k];
    table.rows.back().slices.push_back(std::move(slice));
  }
  if (table.rows.empty()) return fail("no row");
  if (table.rows.back().slices.empty())
    return fail("row " + table.rows.back().name + " has no slices");
  return true;
}

bool read_schedule_file(const std::string& path, ScheduleTable& table, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot read the schedule";
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  if (parse_schedule(text.str(), table, error)) return true;
  error = path + ":" + error;
  return false;
}

Schedule choose_schedule(const ScheduleTable& table, const ProblemFeatures& f, double seconds) {
  const ScheduleRow* row = &table.rows.back();
  for (const ScheduleRow& r : table.rows)
    if (f.has(r.require) && (f.traits & r.exclude) == 0 && (r.up_to <= 0 || seconds <= r.up_to)) {
      row = &r;
      break;
    }
  Schedule s{row->name, {}};
  for (const Slice& slice : row->slices)
    if (f.has(slice.needs)) s.slices.push_back(slice);
  // A row whose every slice needs what the class lacks would leave nothing
  // to run; the rows keep a last slice without needs, and this keeps the
  // promise if one does not.
  if (s.slices.empty()) s.slices.push_back(row->slices.back());
  return s;
}

}  // namespace velkor
