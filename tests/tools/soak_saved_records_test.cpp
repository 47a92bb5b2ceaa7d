// The soak's model of what completed forms saved: a later change or delete
// takes the saved record away, each stored record answers for one saved record,
// and a missing record is reported with its step and form.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tools/soak/saved_records.h"

namespace soak {
namespace {

// Files as the reader sees them; a file that is not here cannot be read.
class FakeFiles {
 public:
  std::map<std::string, std::multiset<std::string>> files;

  StoredReader Reader() const {
    return
        [this](const std::string& file, std::multiset<std::string>& records, std::string& problem) {
          auto it = files.find(file);
          if (it == files.end()) {
            problem = "cannot open";
            return false;
          }
          records = it->second;
          return true;
        };
  }
};

TEST(SoakSavedRecords, EverySavedRecordMustBeInItsFile) {
  SavedRecords saved;
  saved.Note("HTAPES.KMF", "UPDATEHTAPES", FormRequest::kInsert, "", "tape 1", 10);
  saved.Note("ITEMS.KMF", "UPDATEITEMS", FormRequest::kInsert, "", "item a", 11);
  EXPECT_EQ(saved.Expected(), 2u);

  FakeFiles disk;
  disk.files["HTAPES.KMF"] = {"tape 1", "tape 2"};
  disk.files["ITEMS.KMF"] = {"item b"};
  EXPECT_EQ(saved.Check(disk.Reader()),
            std::vector<std::string>{"step 11: the record UPDATEITEMS saved is not in "
                                     "ITEMS.KMF: item a"});
  disk.files["ITEMS.KMF"].insert("item a");
  EXPECT_TRUE(saved.Check(disk.Reader()).empty());

  disk.files.erase("HTAPES.KMF");
  EXPECT_EQ(saved.Check(disk.Reader()), std::vector<std::string>{"HTAPES.KMF: cannot open"});
}

TEST(SoakSavedRecords, ALaterChangeOrDeleteReplacesWhatWasSaved) {
  SavedRecords saved;
  saved.Note("CAST.KMF", "UPDATECAST", FormRequest::kInsert, "", "v1", 1);
  saved.Note("CAST.KMF", "UPDATECAST", FormRequest::kInsert, "", "w1", 2);
  saved.Note("CAST.KMF", "UPDATECAST", FormRequest::kChange, "v1", "v2", 3);
  saved.Note("CAST.KMF", "UPDATECAST", FormRequest::kDelete, "w1", "w1", 4);
  // A record of the sample data, changed: only its new values are expected.
  saved.Note("CAST.KMF", "UPDATECAST", FormRequest::kChange, "sample", "changed", 5);
  EXPECT_EQ(saved.Expected(), 2u);

  FakeFiles disk;
  disk.files["CAST.KMF"] = {"v2", "changed"};
  EXPECT_TRUE(saved.Check(disk.Reader()).empty());
  disk.files["CAST.KMF"] = {"v1", "w1", "changed"};
  EXPECT_EQ(saved.Check(disk.Reader()),
            std::vector<std::string>{"step 3: the record UPDATECAST saved is not in CAST.KMF: v2"});
}

TEST(SoakSavedRecords, EachStoredRecordAnswersForOneSavedRecord) {
  SavedRecords saved;
  saved.Note("CAST.KMF", "UPDATECAST", FormRequest::kInsert, "", "same", 1);
  saved.Note("CAST.KMF", "UPDATECAST", FormRequest::kInsert, "", "same", 2);
  FakeFiles disk;
  disk.files["CAST.KMF"] = {"same"};
  EXPECT_EQ(saved.Check(disk.Reader()).size(), 1u);
  disk.files["CAST.KMF"] = {"same", "same"};
  EXPECT_TRUE(saved.Check(disk.Reader()).empty());
  // A delete of one of the two leaves the other expected.
  saved.Note("CAST.KMF", "UPDATECAST", FormRequest::kDelete, "same", "same", 3);
  disk.files["CAST.KMF"] = {"same"};
  EXPECT_TRUE(saved.Check(disk.Reader()).empty());
  disk.files["CAST.KMF"] = {};
  EXPECT_EQ(saved.Check(disk.Reader()).size(), 1u);
}

TEST(SoakSavedRecords, AFormThatWroteNothingSavedNothing) {
  // Completed only because its child list's update completed: the change's
  // own record was never written, and the file keeps what a form saved before.
  SavedRecords saved;
  saved.Note("VIDEOS.KMF", "UPDATEVIDEOS", FormRequest::kInsert, "", "video 1", 1);
  saved.Note("VIDEOS.KMF", "UPDATEVIDEOS", FormRequest::kChange, "video 1", std::nullopt, 2);
  saved.Note("VIDEOS.KMF", "UPDATEVIDEOS", FormRequest::kInsert, "", std::nullopt, 3);
  EXPECT_EQ(saved.Expected(), 1u);

  FakeFiles disk;
  disk.files["VIDEOS.KMF"] = {"video 1"};
  EXPECT_TRUE(saved.Check(disk.Reader()).empty());
  disk.files["VIDEOS.KMF"] = {};
  EXPECT_EQ(saved.Check(disk.Reader()),
            std::vector<std::string>{
                "step 1: the record UPDATEVIDEOS saved is not in VIDEOS.KMF: video 1"});
}

TEST(SoakSavedRecords, ARecordTakenAwayAfterItWasWrittenIsNotExpected) {
  // A numbered insert writes its record when it opens (write 1) and completes
  // long after; meanwhile another window deletes that record (write 2). A
  // change that took away equal values (write 3) before another insert wrote
  // them (write 4) leaves that insert's record expected.
  SavedRecords saved;
  saved.Note("VIDEOS.KMF", "UPDATEVIDEOS", FormRequest::kDelete, "video 39", "video 39", 50, 2);
  saved.Note("VIDEOS.KMF", "UPDATEVIDEOS", FormRequest::kChange, "video 40", "video 41", 51, 3);
  saved.Note("VIDEOS.KMF", "UPDATEVIDEOS", FormRequest::kInsert, "", "video 39", 60, 1);
  saved.Note("VIDEOS.KMF", "UPDATEVIDEOS", FormRequest::kInsert, "", "video 40", 61, 4);
  EXPECT_EQ(saved.Expected(), 2u);

  FakeFiles disk;
  disk.files["VIDEOS.KMF"] = {"video 40", "video 41"};
  EXPECT_TRUE(saved.Check(disk.Reader()).empty());
  // Each taking away answers for one write: the same values written again
  // before it are expected.
  saved.Note("VIDEOS.KMF", "UPDATEVIDEOS", FormRequest::kInsert, "", "video 39", 62, 1);
  EXPECT_EQ(saved.Check(disk.Reader()),
            std::vector<std::string>{
                "step 62: the record UPDATEVIDEOS saved is not in VIDEOS.KMF: video 39"});
}

TEST(SoakSavedRecords, ACancelledNumberedInsertTakesItsSerialAway) {
  // Tape 7 was added by an insert when it opened (write 1), then changed and
  // saved from another window (write 2). Cancelling the insert deletes tape 7
  // with those changes (write 3); the delete is known by the serial alone.
  SavedRecords saved;
  saved.Note("HTAPES.KMF", "UPDATEHTAPES", FormRequest::kChange, "SERIAL[0]=7; TITLE[0]=; ",
             "SERIAL[0]=7; TITLE[0]=Zoo; ", 10, 2);
  saved.Note("HTAPES.KMF", "UPDATEHTAPES", FormRequest::kInsert, "", "SERIAL[0]=17; TITLE[0]=; ",
             11, 4);
  saved.Note("HTAPES.KMF", "UPDATEHTAPES", FormRequest::kInsert, "", "XSERIAL[0]=7; ", 12, 1);
  const std::string serial = EntryOf("XSERIAL[0]=8; SERIAL[0]=7; TITLE[0]=Zoo; ", "SERIAL");
  EXPECT_EQ(serial, "SERIAL[0]=7; ");
  saved.Withdraw("HTAPES.KMF", serial, 3);
  EXPECT_EQ(saved.Expected(), 2u) << "serial 17 and another field's 7 stay";

  // A window that wrote serial 7 before the delete and completes after it
  // saved nothing that lasted; serial 7 added again after the delete did.
  saved.Note("HTAPES.KMF", "UPDATEHTAPES", FormRequest::kChange, "SERIAL[0]=7; TITLE[0]=; ",
             "SERIAL[0]=7; TITLE[0]=Old; ", 13, 2);
  saved.Note("HTAPES.KMF", "UPDATEHTAPES", FormRequest::kInsert, "", "SERIAL[0]=7; TITLE[0]=New; ",
             14, 5);
  EXPECT_EQ(saved.Expected(), 3u);

  FakeFiles disk;
  disk.files["HTAPES.KMF"] = {"SERIAL[0]=17; TITLE[0]=; ", "XSERIAL[0]=7; ",
                              "SERIAL[0]=7; TITLE[0]=New; "};
  EXPECT_TRUE(saved.Check(disk.Reader()).empty());
}

}  // namespace
}  // namespace soak
