// The KMF driver's less common codes: PUT by pointer, rebuilding one key,
// whole-file copies and rebuilds, blobs, codes the driver does not declare,
// and files that keep their texts in the OEM code page.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "runtime/core/error_state.h"
#include "runtime/core/type_codes.h"
#include "runtime/core/value_stack.h"
#include "runtime/files/declared_file.h"
#include "runtime/files/file_dispatcher.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/kmf_check.h"
#include "runtime/files/kmf_driver.h"
#include "runtime/files/operation_codes.h"
#include "tests/files/kmf_test_support.h"

namespace rk {
namespace {

const FieldSpec kFields[] = {{"CST:NUMBER", 0, kLong}, {"CST:NAME", 4, kString, 12}};
const KeySpec kKeys[] = {{"CST:NUMBER_KEY", 0, {1}}, {"CST:NAME_KEY", kKeyDup, {2}}};
const MemoSpec kMemos[] = {{"CST:NOTES", 40}};
const MemoSpec kBlobs[] = {{"CST:PHOTO", 2000, kMemoBlob}};

class KmfOperationsTest : public ::testing::Test {
 protected:
  void SetUp() override { name_ = dir_.File("CAST"); }

  FileSpec Spec(uint8_t attributes, std::span<const MemoSpec> memos = kMemos) {
    return {"cast", name_.c_str(), static_cast<uint8_t>(kFileAttrCreate | attributes), 16, kFields,
            kKeys,  memos};
  }
  static void Fill(DeclaredFile& file, int32_t number, const char* name) {
    std::memcpy(file.record(), &number, 4);
    std::memset(file.record() + 4, ' ', 12);
    std::memcpy(file.record() + 4, name, std::strlen(name));
  }
  static std::string Name(DeclaredFile& file) {
    return std::string(reinterpret_cast<char*>(file.record() + 4), 12);
  }
  // Adds the records and returns the record number of each.
  std::vector<int32_t> Seed(DeclaredFile& file, std::vector<const char*> names) {
    CREATE(file.file());
    OPEN(file.file());
    std::vector<int32_t> numbers;
    for (size_t i = 0; i < names.size(); ++i) {
      Fill(file, static_cast<int32_t>(i + 1), names[i]);
      ADD(file.file());
      numbers.push_back(POINTER(file.file()));
    }
    return numbers;
  }
  std::vector<std::string> NamesInKeyOrder(DeclaredFile& file) {
    std::vector<std::string> names;
    SET(file.key(2));
    for (NEXT(file.file()); ErrorCode() == 0; NEXT(file.file())) names.push_back(Name(file));
    return names;
  }
  int32_t Call(int32_t code, DeclaredFile& file, std::vector<intptr_t> args = {}) {
    return CallFileOperation(code, file.file(), args.empty() ? nullptr : args.data());
  }

  kmf::testing::TempDirectory dir_;
  std::string name_;
};

TEST_F(KmfOperationsTest, PutByPointerRewritesThatRecordAndItsKeys) {
  DeclaredFile cast(Spec(0), &KmfEntry);
  auto numbers = Seed(cast, {"Ford", "Hamill", "Fisher"});
  Fill(cast, 2, "Guinness");
  PUT(cast.file(), numbers[1]);
  ASSERT_EQ(ErrorCode(), 0);
  EXPECT_EQ(POINTER(cast.file()), numbers[1]);
  EXPECT_EQ(NamesInKeyOrder(cast),
            (std::vector<std::string>{"Fisher      ", "Ford        ", "Guinness    "}));
  Fill(cast, 1, "Clash");  // the number of record 1 again: a duplicate
  PUT(cast.file(), numbers[2]);
  EXPECT_EQ(ErrorCode(), 40);
  PUT(cast.file(), 999);
  EXPECT_EQ(ErrorCode(), 35);
  CLOSE(cast.file());
  EXPECT_TRUE(kmf::CheckFile(name_ + ".KMF").ok());
}

TEST_F(KmfOperationsTest, RebuildingOneKeyRestoresItsEntries) {
  DeclaredFile cast(Spec(0), &KmfEntry);
  Seed(cast, {"Ford", "Hamill"});
  Fill(cast, 3, "Fisher");
  APPEND(cast.file());  // no key entries
  ASSERT_EQ(ErrorCode(), 0);
  EXPECT_EQ(RECORDS(cast.key(2)), 2);
  CLOSE(cast.file());
  OPEN(cast.file(), kAccessReadWrite | kDenyWrite);
  SET(cast.key(2));
  Call(kOpBuildKey, cast);
  ASSERT_EQ(ErrorCode(), 0);
  EXPECT_EQ(RECORDS(cast.key(2)), 3);
  EXPECT_EQ(RECORDS(cast.key(1)), 2);  // the other key is left as it was
  CLOSE(cast.file());
}

TEST_F(KmfOperationsTest, CopiesAndRebuildsKeepEveryRecord) {
  DeclaredFile cast(Spec(0), &KmfEntry);
  auto numbers = Seed(cast, {"Ford", "Hamill", "Fisher", "Cushing"});
  GET(cast.file(), numbers[0]);
  cast.setMemoText(1, "notes");
  PUT(cast.file(), numbers[0]);
  ASSERT_EQ(ErrorCode(), 0);
  // Deleting most records leaves room that the rebuild gives back.
  for (int32_t n : {numbers[1], numbers[2]}) {
    GET(cast.file(), n);
    DELETE(cast.file());
  }
  std::string copy = dir_.File("COPY");
  Values().PushCopy(name_);
  Values().PushCopy(copy);
  Call(kOpTwoNames, cast);
  ASSERT_EQ(ErrorCode(), 0);
  Values().PushCopy("");
  Call(kOpRebuildThroughCopy, cast);
  ASSERT_EQ(ErrorCode(), 0);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("CAST.$$$")));
  EXPECT_EQ(RECORDS(cast.file()), 2);
  EXPECT_EQ(NamesInKeyOrder(cast), (std::vector<std::string>{"Cushing     ", "Ford        "}));
  Fill(cast, 9, "New");
  ADD(cast.file());
  EXPECT_GT(POINTER(cast.file()), numbers[3]);  // numbers go on after a rebuild
  CLOSE(cast.file());
  EXPECT_TRUE(kmf::CheckFile(name_ + ".KMF").ok());

  // COPY of a closed file; the copies open under the same declaration.
  COPY(cast.file(), dir_.File("SECOND"));
  ASSERT_EQ(ErrorCode(), 0);
  for (const std::string& other : {copy, dir_.File("SECOND")}) {
    ASSERT_TRUE(kmf::CheckFile(other + ".KMF").ok()) << other;
    FileSpec spec = Spec(0);
    spec.storedName = other.c_str();
    DeclaredFile copied(spec, &KmfEntry);
    OPEN(copied.file());
    ASSERT_EQ(ErrorCode(), 0);
    GET(copied.file(), numbers[0]);
    EXPECT_EQ(copied.memoText(1), "notes");
    EXPECT_EQ(RECORDS(copied.key(1)), other == copy ? 2 : 3);
    CLOSE(copied.file());
  }
  COPY(cast.file(), "");
  EXPECT_EQ(ErrorCode(), 45);
}

TEST_F(KmfOperationsTest, BlobsAreWrittenAndReadWithTheRecord) {
  DeclaredFile cast(Spec(0, kBlobs), &KmfEntry);
  auto numbers = Seed(cast, {"Ford"});
  std::string photo(700, '\0');
  for (size_t i = 0; i < photo.size(); ++i) photo[i] = static_cast<char>(i * 7);
  Values().PushCopy(photo);
  Call(kOpBlobWrite, cast, {1, 0, static_cast<intptr_t>(photo.size() - 1)});
  ASSERT_EQ(ErrorCode(), 0);
  PUT(cast.file());
  ASSERT_EQ(ErrorCode(), 0);
  CLOSE(cast.file());
  OPEN(cast.file());
  GET(cast.file(), numbers[0]);
  EXPECT_EQ(Call(kOpBlobSize, cast, {1}), 700);
  Call(kOpBlobRead, cast, {1, 250, 260});
  EXPECT_EQ(Values().PopString(), photo.substr(250, 11));
  Call(kOpBlobRead, cast, {1, 695, 800});  // clipped at the end
  EXPECT_EQ(Values().PopString(), photo.substr(695));
  Call(kOpBlobSize, cast, {2});
  EXPECT_EQ(ErrorCode(), 78);  // no second blob
  CLOSE(cast.file());
  EXPECT_TRUE(kmf::CheckFile(name_ + ".KMF").ok());
}

TEST_F(KmfOperationsTest, CodesTheDriverDoesNotDeclareAnswerUnsupported) {
  DeclaredFile cast(Spec(0), &KmfEntry);
  Seed(cast, {"Ford"});
  for (int32_t code :
       {kOpAddLength, kOpGetPointerLength, kOpPutPointerLength, kOpAppendLength, kOpSetProperty}) {
    SCOPED_TRACE(code);
    if (code == kOpSetProperty) Values().PushCopy("x");
    Call(code, cast, {1, 1});
    EXPECT_EQ(ErrorCode(), 80);
  }
  CLOSE(cast.file());
}

TEST_F(KmfOperationsTest, OemFilesStoreTextsInTheOemCodePage) {
  DeclaredFile oem(Spec(kFileAttrOem), &KmfEntry);
  auto numbers = Seed(oem, {"M\xFCller"});  // u-umlaut: 0xFC in ANSI, 0x81 in OEM
  WATCH(oem.file());
  GET(oem.file(), numbers[0]);
  EXPECT_EQ(Name(oem), "M\xFCller      ");
  oem.setMemoText(1, "\xE9t\xE9");  // e-acute: 0xE9 in ANSI, 0x82 in OEM
  PUT(oem.file());  // watched: the stored record must compare equal after conversion
  ASSERT_EQ(ErrorCode(), 0);
  CLOSE(oem.file());

  DeclaredFile raw(Spec(0),
                   &KmfEntry);  // the same file without the attribute sees the stored bytes
  OPEN(raw.file());
  GET(raw.file(), numbers[0]);
  EXPECT_EQ(Name(raw), "M\x81ller      ");
  EXPECT_EQ(raw.memoText(1), "\x82t\x82");
  CLOSE(raw.file());

  OPEN(oem.file());
  Fill(oem, 0, "M\xFCller");
  GET(oem.file(), oem.key(2));
  ASSERT_EQ(ErrorCode(), 0);
  EXPECT_EQ(oem.memoText(1), "\xE9t\xE9");
  CLOSE(oem.file());
}

}  // namespace
}  // namespace rk
