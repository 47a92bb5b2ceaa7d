// What the walk's completed forms saved, kept as a model and checked against the
// files once the program has ended.
//
// The model holds, per file, the records that completed forms stored and that
// no later completed form has changed or deleted since, each as the text of its
// field values; every one must be in its file at the end with the same values.
// Two records of a file without a unique key may hold the same values, so each
// stored record answers for one saved record only.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace soak {

enum class FormRequest { kInsert, kChange, kDelete };

// Reads every record of a file as the text of its values; false with a reason
// when the file cannot be read to its end.
using StoredReader = std::function<bool(const std::string& file,
                                        std::multiset<std::string>& records, std::string& problem)>;

class SavedRecords {
 public:
  // A form that completed: `before` is the record it started from (what a
  // change or delete works on), `written` the record it last wrote to its file
  // (what an insert or change stored), none when it wrote nothing. A form can
  // complete without writing: its response is then what its child list's
  // update answered, and its own record in the file is as it was.
  void Note(const std::string& file, const std::string& procedure, FormRequest request,
            const std::string& before, const std::optional<std::string>& written, long step);

  // One line per saved record that is missing from its file, or the reason a
  // file could not be read; empty when every record is there.
  std::vector<std::string> Check(const StoredReader& read) const;

  size_t Expected() const;

 private:
  struct Saved {
    long step;
    std::string procedure;
  };
  // The file's name, then the saved records by their values.
  std::map<std::string, std::multimap<std::string, Saved>> files_;
};

}  // namespace soak
