// The six collection files through their accessors, created and filled in a
// temporary current directory the way the program and rkseed do it.
#include "app/collection_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "runtime/core/clear_value.h"
#include "runtime/core/error_state.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/kmf_check.h"

namespace rk {
namespace {

namespace fs = std::filesystem;

class CollectionFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("rk_collection_" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    previous_ = fs::current_path();
    fs::current_path(dir_);  // the files live in the current directory
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(dir_);
  }

  // Creates and opens a file, as the program's opening routine does when it is missing.
  static void CreateAndOpen(FileDescriptor& file) {
    OPEN(file, kAccessReadWrite | kDenyNone);
    ASSERT_EQ(ErrorCode(), 2);
    CREATE(file);
    ASSERT_EQ(ErrorCode(), 0);
    OPEN(file, kAccessReadWrite | kDenyNone);
    ASSERT_EQ(ErrorCode(), 0);
  }
  static void Add(CollectionFileId which,
                  std::initializer_list<std::pair<const char*, const char*>> fields) {
    DeclaredFile& file = CollectionFile(which);
    FileDescriptor& descriptor = file.file();
    ClearValue(descriptor.record, {descriptor.fieldList, descriptor.fieldListLength}, kClearBlank);
    for (const auto& [name, value] : fields) file.setText(name, value);
    ADD(file.file());
  }

  fs::path dir_;
  fs::path previous_;
};

TEST_F(CollectionFilesTest, EachFileIsDeclaredOnceWithItsNameKeysAndMemo) {
  FileDescriptor* all[] = {&HTAPES(), &ITEMS(), &videos(), &CAST(), &SUBJECT(), &MANUFACTURER()};
  const char* names[] = {"HTAPES", "ITEMS", "VIDEOS", "CAST", "SUBJECT", "MANUFACTURER"};
  const int keys[] = {3, 4, 2, 2, 1, 1};
  const int memos[] = {1, 1, 1, 0, 0, 0};
  for (int i = 0; i < kCollectionFileCount; ++i) {
    DeclaredFile& declared = CollectionFile(static_cast<CollectionFileId>(i));
    EXPECT_EQ(&declared.file(), all[i]);
    EXPECT_EQ(std::string(declared.file().name, declared.file().nameLength), names[i]);
    EXPECT_EQ(declared.keyCount(), keys[i]) << names[i];
    EXPECT_EQ(declared.memoCount(), memos[i]) << names[i];
  }
  EXPECT_EQ(CollectionFile(CollectionFileId::kVideos).label(), "videos");
  EXPECT_EQ(&HTAPES(), &HTAPES());
  EXPECT_EQ(CollectionFileOfName("ITE:SERIAL_NO"), &CollectionFile(CollectionFileId::kItems));
  EXPECT_EQ(CollectionFileOfName("MAN:MANUFACTURER"),
            &CollectionFile(CollectionFileId::kManufacturer));
  EXPECT_EQ(CollectionFileOfName("XYZ:NOTHING"), nullptr);
  EXPECT_EQ(CollectionFileOfName("NOPREFIX"), nullptr);
}

TEST_F(CollectionFilesTest, AllSixOpenOnSeededDataAndFollowTheirKeys) {
  FileDescriptor* all[] = {&HTAPES(), &ITEMS(), &videos(), &CAST(), &SUBJECT(), &MANUFACTURER()};
  for (FileDescriptor* file : all) CreateAndOpen(*file);
  using Id = CollectionFileId;
  Add(Id::kSubject, {{"SUB:SUBJECT", "Comedy"}});
  Add(Id::kSubject, {{"SUB:SUBJECT", "Drama"}});
  Add(Id::kSubject, {{"SUB:SUBJECT", "COMEDY"}});  // NOCASE: the same key value
  EXPECT_EQ(ErrorCode(), 40);
  Add(Id::kManufacturer, {{"MAN:MANUFACTURER", "Acme"}});
  Add(Id::kHtapes, {{"HTA:SERIAL", "1"}, {"HTA:TITLE", "Holiday"}, {"HTA:MANUFACTURER", "Acme"}});
  Add(Id::kHtapes, {{"HTA:SERIAL", "2"}, {"HTA:TITLE", "Concerts"}});
  Add(Id::kHtapes, {{"HTA:SERIAL", "0"}, {"HTA:TITLE", "Unnumbered"}});  // OPT: no serial entry
  for (const char* serial : {"1", "2", "1"}) {
    Add(Id::kItems,
        {{"ITE:SERIAL", serial}, {"ITE:DESCRIPTION", "News"}, {"ITE:SUBJECT", "Drama"}});
    ASSERT_EQ(ErrorCode(), 0);
  }
  Add(Id::kVideos, {{"VID:SERIAL", "7"}, {"VID:TITLE", "Casablanca"}, {"VID:PRICE", "12.50"}});
  Add(Id::kCast, {{"CAS:SERIAL", "7"}, {"CAS:PERFORMER", "Bergman"}, {"CAS:STAR", "STAR"}});
  Add(Id::kCast, {{"CAS:SERIAL", "7"}, {"CAS:PERFORMER", "Bogart"}, {"CAS:STAR", "STAR"}});

  DeclaredFile& tapes = CollectionFile(Id::kHtapes);
  EXPECT_EQ(RECORDS(HTAPES()), 3);
  EXPECT_EQ(RECORDS(tapes.key(1)), 2);  // the tape numbered 0 is not in the serial key
  EXPECT_EQ(RECORDS(SUBJECT()), 2);
  EXPECT_EQ(RECORDS(ITEMS()), 3);
  EXPECT_EQ(RECORDS(CAST()), 2);
  EXPECT_EQ(RECORDS(MANUFACTURER()), 1);

  // The items of tape 1 through ITE:SERIAL_NO, as the tape's child browse reads them.
  DeclaredFile& items = CollectionFile(Id::kItems);
  items.setText("ITE:SERIAL", "1");
  SET(*items.key("ITE:SERIAL_NO"), *items.key("ITE:SERIAL_NO"));
  int onTapeOne = 0;
  for (NEXT(ITEMS()); ErrorCode() == 0 && items.text("ITE:SERIAL") == "1"; NEXT(ITEMS()))
    ++onTapeOne;
  EXPECT_EQ(onTapeOne, 2);

  DeclaredFile& video = CollectionFile(Id::kVideos);
  video.setText("VID:SERIAL", "7");
  GET(videos(), *video.key("VID:SERIALN"));
  ASSERT_EQ(ErrorCode(), 0);
  EXPECT_EQ(video.text("VID:TITLE").substr(0, 10), "Casablanca");
  EXPECT_EQ(video.text("VID:PRICE"), "12.50");

  for (FileDescriptor* file : all) {
    CLOSE(*file);
    EXPECT_EQ(ErrorCode(), 0);
  }
  for (const char* name :
       {"HTAPES.KMF", "ITEMS.KMF", "VIDEOS.KMF", "CAST.KMF", "SUBJECT.KMF", "MANUFACTURER.KMF"}) {
    kmf::CheckReport report = kmf::CheckFile(name);
    EXPECT_TRUE(report.ok()) << name << ": " << (report.ok() ? "" : report.problems.front());
  }
}

}  // namespace
}  // namespace rk
