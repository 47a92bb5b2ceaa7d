#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <random>

#include "runtime/files/kmf_check.h"
#include "runtime/files/kmf_open_files.h"
#include "runtime/files/kmf_transaction.h"
#include "tests/files/kmf_table_fixture.h"

namespace rk::kmf {
namespace {

using testing::FillTape;
using testing::SerialOf;
using testing::TapeTable;
using testing::TitleOf;

class TableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = dir_.File("TAPES");
    path_ = name_ + ".KMF";
  }
  std::unique_ptr<Table> CreateAndOpen(const std::string& name, bool secondUnique = false) {
    auto table = TapeTable(name, secondUnique);
    EXPECT_EQ(table->Create(), 0);
    EXPECT_EQ(table->Open(0x42), 0);
    return table;
  }
  void ExpectFileChecks(const std::string& path) {
    CheckReport report = CheckFile(path);
    for (const auto& problem : report.problems) ADD_FAILURE() << problem;
  }

  testing::TempDirectory dir_;
  testing::FastStorage fastStorage_;
  std::string name_;
  std::string path_;
};

TEST_F(TableTest, RecordsComeBackInKeyOrderBothWays) {
  auto table = CreateAndOpen(name_);
  std::mt19937 random(1);
  std::multimap<std::string, int32_t> byTitle;
  for (int32_t serial = 1; serial <= 300; ++serial) {
    std::string title = "Tape " + std::to_string(random() % 100);
    if (serial % 3 == 0) title[0] = 't';  // NOCASE: sorts with "Tape"
    FillTape(*table, serial, title, serial % 5 ? "drama" : "");
    ASSERT_EQ(table->Add(), 0);
    std::string upper = title;
    upper[0] = 'T';
    byTitle.emplace(upper, serial);
  }
  EXPECT_EQ(table->Records(), 300u);
  EXPECT_EQ(table->KeyRecords(1), 300u);
  // OPT: a record gets no entry only when every component is empty; the serial
  // never is.
  EXPECT_EQ(table->KeyRecords(2), 300u);

  table->SetKey(1);
  std::vector<std::string> titles;
  while (table->Next() == 0) {
    std::string title = TitleOf(*table);
    title[0] = 'T';
    titles.push_back(title);
  }
  ASSERT_EQ(titles.size(), 300u);
  EXPECT_TRUE(std::is_sorted(titles.begin(), titles.end()));
  EXPECT_EQ(table->Next(), 33);  // past the end stays there

  // Descending serial within one category, read backward: ascending serials.
  FillTape(*table, 0, "", "drama");
  table->SetKeyFromValue(2);
  ASSERT_EQ(table->Previous(), 0);
  int32_t previous = SerialOf(*table);
  int count = 1;
  while (table->Previous() == 0 &&
         std::string(reinterpret_cast<char*>(table->record().data() + 24), 5) == "drama") {
    EXPECT_GT(SerialOf(*table), previous);
    previous = SerialOf(*table);
    ++count;
  }
  EXPECT_EQ(count, 240);

  // GET by key, by number, POSITION and RESET.
  int32_t serial = 150;
  std::memcpy(table->record().data(), &serial, 4);
  ASSERT_EQ(table->GetByKey(0), 0);
  uint32_t pointer = table->Pointer();
  std::string position = table->KeyPosition(0);
  ASSERT_EQ(table->GetByNumber(pointer), 0);
  EXPECT_EQ(SerialOf(*table), 150);
  ASSERT_EQ(table->ResetKey(0, position), 0);
  ASSERT_EQ(table->Next(), 0);
  EXPECT_EQ(SerialOf(*table), 150);
  ASSERT_EQ(table->Next(), 0);
  EXPECT_EQ(SerialOf(*table), 151);
  EXPECT_EQ(table->GetByNumber(999999), 35);

  // Record order from a record number, EOF and BOF as tests.
  table->SetFileFrom(pointer);
  EXPECT_FALSE(table->AtEnd());
  ASSERT_EQ(table->Next(), 0);
  EXPECT_EQ(SerialOf(*table), 150);
  table->SetFile();
  EXPECT_FALSE(table->AtBeginning());
  ASSERT_EQ(table->Previous(), 0);
  EXPECT_EQ(SerialOf(*table), 300);
  EXPECT_TRUE(table->AtEnd());
  ASSERT_EQ(table->Close(), 0);
  ExpectFileChecks(path_);
}

TEST_F(TableTest, FailedAddUndoesEarlierKeysAndUsesUpItsNumber) {
  auto table = CreateAndOpen(name_, true);
  FillTape(*table, 1, "Alpha");
  ASSERT_EQ(table->Add(), 0);
  uint32_t first = table->Pointer();
  FillTape(*table, 2, "ALPHA");  // unique NOCASE title: a duplicate on key 1
  EXPECT_EQ(table->Add(), 40);
  EXPECT_EQ(table->Records(), 1u);
  EXPECT_EQ(table->KeyRecords(0), 1u);
  EXPECT_EQ(table->KeyRecords(1), 1u);
  FillTape(*table, 2, "Beta");
  ASSERT_EQ(table->Add(), 0);
  EXPECT_EQ(table->Pointer(), first + 2);
  // PUT that would duplicate a unique key changes nothing.
  FillTape(*table, 2, "alpha");
  EXPECT_EQ(table->Put(), 40);
  EXPECT_EQ(table->DuplicateAny(), 1);
  ASSERT_EQ(table->GetByNumber(first + 2), 0);
  EXPECT_EQ(TitleOf(*table), "Beta");
  ASSERT_EQ(table->Close(), 0);
  ExpectFileChecks(path_);
}

// Memo texts lose only their trailing spaces, whatever their length; a PUT
// with a shorter text leaves no piece of the longer one behind.
TEST_F(TableTest, MemoTextsKeepEverythingButTrailingSpaces) {
  auto table = CreateAndOpen(name_);
  const size_t lengths[] = {1, 7, 8, 9, 16, 17, 255, 256, 257, 600, 1000};
  auto textOf = [](size_t length) {
    std::string text(length, ' ');
    for (size_t i = 0; i < length; i += 3) text[i] = static_cast<char>('a' + i % 26);
    text[length - 1] = 'z';
    return text;
  };
  auto setMemo = [&](const std::string& text) {
    std::string& memo = table->memos()[0];
    std::fill(memo.begin(), memo.end(), ' ');
    std::copy(text.begin(), text.end(), memo.begin());
  };
  auto expectMemo = [&](int32_t serial, const std::string& text) {
    std::memcpy(table->record().data(), &serial, 4);
    ASSERT_EQ(table->GetByKey(0), 0);
    std::string expected = text + std::string(1000 - text.size(), ' ');
    EXPECT_EQ(table->memos()[0], expected) << text.size() << " bytes";
  };
  for (size_t length : lengths) {
    FillTape(*table, static_cast<int32_t>(length), "Memo");
    setMemo(textOf(length));
    ASSERT_EQ(table->Add(), 0);
  }
  for (size_t length : lengths) expectMemo(static_cast<int32_t>(length), textOf(length));
  expectMemo(1000, textOf(1000));
  setMemo(textOf(9));
  ASSERT_EQ(table->Put(), 0);
  expectMemo(1000, textOf(9));
  ASSERT_EQ(table->Close(), 0);
  ExpectFileChecks(path_);
}

TEST_F(TableTest, PutMovesKeysAndMemosFollowTheirRecord) {
  auto table = CreateAndOpen(name_);
  for (int32_t serial = 1; serial <= 50; ++serial) {
    FillTape(*table, serial, "Title " + std::to_string(serial), "cat");
    std::string notes(600, 'n');
    std::string label = "serial " + std::to_string(serial);
    notes.replace(0, label.size(), label);
    std::fill(table->memos()[0].begin(), table->memos()[0].end(), ' ');
    std::copy(notes.begin(), notes.end(), table->memos()[0].begin());
    ASSERT_EQ(table->Add(), 0);
  }
  int32_t serial = 7;
  std::memcpy(table->record().data(), &serial, 4);
  ASSERT_EQ(table->GetByKey(0), 0);
  EXPECT_EQ(table->memos()[0].substr(0, 8), "serial 7");
  EXPECT_EQ(table->memos()[0][599], 'n');
  EXPECT_EQ(table->memos()[0][600], ' ');
  FillTape(*table, 7, "Zulu", "other");
  std::fill(table->memos()[0].begin(), table->memos()[0].end(), ' ');
  ASSERT_EQ(table->Put(), 0);
  EXPECT_EQ(table->KeyRecords(2), 50u);
  FillTape(*table, 0, "", "cat");
  table->SetKeyFromValue(2);
  int inCategory = 0;
  while (table->Previous() == 0) ++inCategory;
  EXPECT_EQ(inCategory, 49);
  table->SetKey(1);
  ASSERT_EQ(table->Previous(), 0);
  EXPECT_EQ(TitleOf(*table), "Zulu");
  EXPECT_EQ(table->memos()[0], std::string(1000, ' '));

  serial = 8;
  std::memcpy(table->record().data(), &serial, 4);
  ASSERT_EQ(table->GetByKey(0), 0);
  ASSERT_EQ(table->Delete(), 0);
  EXPECT_EQ(table->Delete(), 33);
  EXPECT_EQ(table->Records(), 49u);
  EXPECT_EQ(table->GetByKey(0), 35);
  ASSERT_EQ(table->Close(), 0);
  ExpectFileChecks(path_);
}

TEST_F(TableTest, OpenChecksTheStoredDeclaration) {
  auto missing = TapeTable(name_);
  EXPECT_EQ(missing->Open(0x42), 2);
  auto table = CreateAndOpen(name_);
  FillTape(*table, 1, "Kept?");
  ASSERT_EQ(table->Add(), 0);
  ASSERT_EQ(table->Close(), 0);

  TableDeclaration renamed;
  renamed.name = name_;
  renamed.definition = testing::TapeDefinition();
  renamed.definition.fields[1].name = "TAP:NAME";
  renamed.mayCreate = true;
  Table other(renamed);
  EXPECT_EQ(other.Open(0x42), 47);
  EXPECT_FALSE(other.isOpen());
  ASSERT_EQ(other.Create(), 0);
  ASSERT_EQ(other.Open(0x42), 0);
  EXPECT_EQ(other.Records(), 0u);
  ASSERT_EQ(other.Close(), 0);

  auto absentTable = TapeTable(name_ + "\\!OTHER");
  EXPECT_EQ(absentTable->Open(0x42), 2);
  auto noName = TapeTable("");
  EXPECT_EQ(noName->Open(0x42), 45);
  TableDeclaration fixed;
  fixed.name = name_;
  fixed.definition = testing::TapeDefinition();
  EXPECT_EQ(Table(fixed).Create(), 54);

  std::ofstream(dir_.File("JUNK.KMF")) << std::string(2048, 'x');
  auto junk = TapeTable(dir_.File("JUNK"));
  EXPECT_EQ(junk->Open(0x42), 36);
  ExpectFileChecks(path_);
}

TEST_F(TableTest, TablesOfOneFileShareItAndAreListed) {
  auto a = CreateAndOpen(name_ + "\\!a");
  auto b = CreateAndOpen(name_ + "\\!b");
  EXPECT_EQ(a->file(), b->file());
  FillTape(*a, 1, "in a");
  ASSERT_EQ(a->Add(), 0);
  for (int32_t i = 0; i < 3; ++i) {
    FillTape(*b, i, "in b");
    ASSERT_EQ(b->Add(), 0);
  }
  EXPECT_EQ(a->Records(), 1u);
  EXPECT_EQ(b->Records(), 3u);
  EXPECT_EQ(a->Send("PNM="), "a");
  EXPECT_EQ(a->Send("PNM=a"), "b");
  EXPECT_EQ(a->Send("PNM=b"), "");
  EXPECT_EQ(a->Send("FOO"), "SEND arg not recognised");
  ASSERT_EQ(a->Empty(), 0);
  EXPECT_EQ(a->Records(), 0u);
  EXPECT_EQ(b->Records(), 3u);
  ASSERT_EQ(a->Close(), 0);
  ASSERT_EQ(b->Close(), 0);
  EXPECT_EQ(FindOpenFile(path_), nullptr);
  ExpectFileChecks(path_);
}

TEST_F(TableTest, SecondInstanceHoldsAndWatchesAgainstTheFirst) {
  auto first = CreateAndOpen(name_);
  auto second = TapeTable(name_);
  ASSERT_EQ(second->Open(0x42), 0);
  FillTape(*first, 1, "Original");
  ASSERT_EQ(first->Add(), 0);
  uint32_t number = first->Pointer();

  first->Hold(-1);
  ASSERT_EQ(first->GetByNumber(number), 0);
  second->Hold(1);
  EXPECT_EQ(second->GetByNumber(number), 43);
  EXPECT_EQ(second->Put(), 33);  // the failed read left no current record
  first->Release();

  second->Watch();
  ASSERT_EQ(second->GetByNumber(number), 0);
  ASSERT_EQ(first->GetByNumber(number), 0);
  FillTape(*first, 1, "Changed by first");
  ASSERT_EQ(first->Put(), 0);
  FillTape(*second, 1, "Changed by second");
  EXPECT_EQ(second->Put(), 89);
  ASSERT_EQ(first->GetByNumber(number), 0);
  EXPECT_EQ(TitleOf(*first), "Changed by first");
}

TEST_F(TableTest, RollbackForgetsAndCommitWritesSeveralFiles) {
  auto tapes = CreateAndOpen(name_);
  auto other = CreateAndOpen(dir_.File("OTHER"));
  SetControlFileName(dir_.File("control.tcf"));
  FillTape(*tapes, 1, "Before");
  ASSERT_EQ(tapes->Add(), 0);

  JoinTransaction(tapes->file());
  FillTape(*tapes, 2, "Rolled back");
  ASSERT_EQ(tapes->Add(), 0);
  EXPECT_EQ(tapes->Records(), 2u);
  RollbackTransaction();
  EXPECT_EQ(tapes->Records(), 1u);

  JoinTransaction(tapes->file());
  JoinTransaction(other->file());
  FillTape(*tapes, 3, "Committed");
  ASSERT_EQ(tapes->Add(), 0);
  FillTape(*other, 3, "Committed too");
  ASSERT_EQ(other->Add(), 0);
  ASSERT_EQ(CommitTransaction(), 0);
  ASSERT_EQ(tapes->Close(), 0);
  ASSERT_EQ(other->Close(), 0);
  ExpectFileChecks(path_);
  ExpectFileChecks(dir_.File("OTHER.KMF"));
  auto reopened = TapeTable(name_);
  ASSERT_EQ(reopened->Open(0x42), 0);
  EXPECT_EQ(reopened->Records(), 2u);
}

}  // namespace
}  // namespace rk::kmf
