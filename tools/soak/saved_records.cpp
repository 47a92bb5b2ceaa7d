#include "tools/soak/saved_records.h"

namespace soak {
size_t FindEntry(const std::string& values, const std::string& start) {
  size_t at = values.find(start);
  while (at != std::string::npos && at != 0 && (at < 2 || values.compare(at - 2, 2, "; ") != 0))
    at = values.find(start, at + 1);
  return at;
}

std::string EntryOf(const std::string& values, const std::string& field) {
  size_t at = FindEntry(values, field + "[0]=");
  if (at == std::string::npos) return {};
  size_t end = values.find("; ", at);
  return end == std::string::npos ? std::string{} : values.substr(at, end + 2 - at);
}

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
  if (request == FormRequest::kDelete || TakenAwayLater(file, *written, writtenAt) ||
      WithdrawnLater(file, *written, writtenAt)) {
    return;
  }
  records.emplace(*written, Saved{step, procedure, writtenAt});
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

void SavedRecords::Withdraw(const std::string& file, const std::string& key, long deletedAt) {
  withdrawn_[file].emplace(key, deletedAt);
  std::multimap<std::string, Saved>& records = files_[file];
  std::erase_if(records, [&key, deletedAt](const auto& record) {
    return record.second.writtenAt < deletedAt && FindEntry(record.first, key) != std::string::npos;
  });
}

bool SavedRecords::WithdrawnLater(const std::string& file, const std::string& values,
                                  long writtenAt) const {
  auto withdrawn = withdrawn_.find(file);
  if (withdrawn == withdrawn_.end()) return false;
  for (const auto& [key, deletedAt] : withdrawn->second) {
    if (deletedAt > writtenAt && FindEntry(values, key) != std::string::npos) return true;
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
