#include "tools/soak/saved_records.h"

namespace soak {

void SavedRecords::Note(const std::string& file, const std::string& procedure, FormRequest request,
                        const std::string& before, const std::optional<std::string>& written,
                        long step, long writtenAt) {
  if (request != FormRequest::kDelete && !written) return;
  std::multimap<std::string, Saved>& records = files_[file];
  // A change or delete takes away the record it started from, when a form of
  // the walk had saved it; records of the sample data are not in the model,
  // and a record a form still open wrote may be noted later.
  if (request != FormRequest::kInsert) {
    if (auto it = records.find(before); it != records.end()) {
      records.erase(it);
    } else {
      takenAway_[file].emplace(before, writtenAt);
    }
  }
  if (request == FormRequest::kDelete || TakenAwayLater(file, *written, writtenAt)) return;
  records.emplace(*written, Saved{step, procedure});
}

bool SavedRecords::TakenAwayLater(const std::string& file, const std::string& values,
                                  long writtenAt) {
  std::multimap<std::string, long>& taken = takenAway_[file];
  auto [first, last] = taken.equal_range(values);
  for (auto it = first; it != last; ++it) {
    if (it->second > writtenAt) {
      taken.erase(it);
      return true;
    }
  }
  return false;
}

size_t SavedRecords::Expected() const {
  size_t count = 0;
  for (const auto& [file, records] : files_) count += records.size();
  return count;
}

std::vector<std::string> SavedRecords::Check(const StoredReader& read) const {
  std::vector<std::string> problems;
  for (const auto& [file, records] : files_) {
    if (records.empty()) continue;
    std::multiset<std::string> stored;
    std::string problem;
    if (!read(file, stored, problem)) {
      problems.push_back(file + ": " + problem);
      continue;
    }
    for (const auto& [values, saved] : records) {
      if (auto it = stored.find(values); it != stored.end()) {
        stored.erase(it);
        continue;
      }
      problems.push_back("step " + std::to_string(saved.step) + ": the record " + saved.procedure +
                         " saved is not in " + file + ": " + values);
    }
  }
  return problems;
}

}  // namespace soak
