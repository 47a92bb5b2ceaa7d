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

// A record's values are one text of entries "name[element]=value; ".
// Where the entry that begins with `start` stands in `values`, npos when none
// does; an entry that only ends like it (a longer name) does not count.
size_t FindEntry(const std::string& values, const std::string& start);
// The whole entry of a field's first element, empty when there is none.
std::string EntryOf(const std::string& values, const std::string& field);

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
  //
  // `writtenAt` orders the form's last write among all writes of the walk. A
  // form is noted when it completes, which may be long after it wrote: a
  // numbered insert adds its record when it opens, and another window may
  // change or delete that record before the insert completes. What a form
  // wrote before such a change or delete is not expected.
  void Note(const std::string& file, const std::string& procedure, FormRequest request,
            const std::string& before, const std::optional<std::string>& written, long step,
            long writtenAt = 0);

  // A numbered insert that did not complete deleted the record it had added
  // when it opened, which another window may have saved meanwhile (with the
  // values it was added with: a changed record is not deleted). That record
  // is known by its unique serial: `key` is the serial's entry as it
  // stands in the values ("name=value; "). No record holding `key` that was
  // written before `deletedAt` is expected any more, whether it was noted
  // already or is noted later.
  void Withdraw(const std::string& file, const std::string& key, long deletedAt);

  // One line per saved record that is missing from its file, or the reason a
  // file could not be read; empty when every record is there.
  std::vector<std::string> Check(const StoredReader& read) const;

  size_t Expected() const;

 private:
  struct Saved {
    long step;
    std::string procedure;
    long writtenAt;
  };
  // Whether a record a form wrote at `writtenAt` was taken away since by a
  // change or delete noted earlier; if so, that taking away is used up.
  bool TakenAwayLater(const std::string& file, const std::string& values, long writtenAt);

  // Whether a cancelled numbered insert deleted, after `writtenAt`, the record
  // these values were written to.
  bool WithdrawnLater(const std::string& file, const std::string& values, long writtenAt) const;

  // The file's name, then the saved records by their values.
  std::map<std::string, std::multimap<std::string, Saved>> files_;
  // The file's name, then the records changes and deletes took away that the
  // model did not hold (yet), with when each was taken away.
  std::map<std::string, std::multimap<std::string, long>> takenAway_;
  // The file's name, then the serial entries cancelled numbered inserts
  // deleted, with when each was deleted.
  std::map<std::string, std::multimap<std::string, long>> withdrawn_;
};

}  // namespace soak
