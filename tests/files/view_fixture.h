// KMF files for the view tests, modelled on the collection: tapes, the items
// on each tape and the cast of each tape, all reached through an entry that
// counts the records each file reads before handing over to the KMF driver.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "runtime/core/error_state.h"
#include "runtime/core/expr_symbols.h"
#include "runtime/core/type_codes.h"
#include "runtime/core/value_stack.h"
#include "runtime/files/declared_file.h"
#include "runtime/files/field_compare.h"
#include "runtime/files/file_statements.h"
#include "runtime/files/kmf_driver.h"
#include "runtime/files/operation_codes.h"
#include "runtime/files/view.h"
#include "tests/files/kmf_test_support.h"

namespace rk::testing {

// Records read (NEXT and PREVIOUS) per file.
inline std::map<const FileObject*, int>& ReadCounts() {
  static std::map<const FileObject*, int> counts;
  return counts;
}

inline int32_t CountingKmfEntry(int32_t code, FileObject* object, const intptr_t* args) {
  if (code == kOpNext || code == kOpPrevious) ++ReadCounts()[object];
  return KmfEntry(code, object, args);
}

inline const FieldSpec kTapeFields[] = {
    {"TAP:SERIAL", 0, kShort},
    {"TAP:TITLE", 2, kString, 20},
};
inline const KeySpec kTapeKeys[] = {
    {"TAP:SERIAL_NO", kKeyOpt | kKeyNoCase | kKeyPrimary, {1}},
    {"TAP:TITLE_KEY", kKeyDup | kKeyNoCase, {2}},
};
inline const MemoSpec kTapeMemos[] = {{"TAP:NOTES", 100}};

inline const FieldSpec kItemFields[] = {
    {"ITM:SERIAL", 0, kShort},
    {"ITM:DATE", 2, kLong},
    {"ITM:DESCRIPTION", 6, kString, 20},
};
inline const KeySpec kItemKeys[] = {
    {"ITM:SERIAL_NO", kKeyDup | kKeyOpt | kKeyNoCase, {1}},
    {"ITM:SERIAL_DATE", kKeyDup | kKeyNoCase, {1, -2}},
};

inline const FieldSpec kCastFields[] = {
    {"CST:SERIAL", 0, kShort},
    {"CST:PERFORMER", 2, kString, 20},
};
inline const KeySpec kCastKeys[] = {
    {"CST:SERIALN", kKeyDup | kKeyOpt | kKeyNoCase, {1, 2}},
};

class ViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Unbind();
    Values().Clear();
    ReadCounts().clear();
    tapes_ = Make("TAPES", 22, kTapeFields, kTapeKeys, kTapeMemos);
    items_ = Make("ITEMS", 26, kItemFields, kItemKeys, {});
    cast_ = Make("CAST", 22, kCastFields, kCastKeys, {});
    for (DeclaredFile* file : {tapes_.get(), items_.get(), cast_.get()}) {
      for (const FieldInfo& field : file->fields())
        Bind(field.name, FieldValueRef(field, file->record()));
    }
    Bind("TAP:NOTES", MakeValueRef(kString, 100, 0, tapes_->memo(1).buffer));
    Bind("WANTED", MakeValueRef(kShort, -1, 0, &wanted_));
  }

  void TearDown() override {
    for (DeclaredFile* file : {tapes_.get(), items_.get(), cast_.get()}) CLOSE(file->file());
    Unbind();
  }

  std::unique_ptr<DeclaredFile> Make(const char* name, uint32_t length,
                                     std::span<const FieldSpec> fields,
                                     std::span<const KeySpec> keys,
                                     std::span<const MemoSpec> memos) {
    names_.push_back(dir_.File(name));
    FileSpec spec{name, names_.back().c_str(), kFileAttrCreate, length, fields, keys, memos};
    auto file = std::make_unique<DeclaredFile>(spec, &CountingKmfEntry);
    CREATE(file->file());
    OPEN(file->file());
    EXPECT_EQ(ErrorCode(), 0) << name;
    return file;
  }

  void AddTape(int serial, const std::string& title) {
    tapes_->setLong("TAP:SERIAL", serial);
    tapes_->setText("TAP:TITLE", title);
    tapes_->setMemoText(1, "notes " + title);
    ADD(tapes_->file());
    ASSERT_EQ(ErrorCode(), 0);
  }
  void AddItem(int serial, int date, const std::string& description) {
    items_->setLong("ITM:SERIAL", serial);
    items_->setLong("ITM:DATE", date);
    items_->setText("ITM:DESCRIPTION", description);
    ADD(items_->file());
    ASSERT_EQ(ErrorCode(), 0);
  }
  void AddCast(int serial, const std::string& performer) {
    cast_->setLong("CST:SERIAL", serial);
    cast_->setText("CST:PERFORMER", performer);
    ADD(cast_->file());
    ASSERT_EQ(ErrorCode(), 0);
  }

  static std::string Trimmed(std::string text) {
    return text.substr(0, text.find_last_not_of(' ') + 1);
  }
  // "serial:description" of the tape and item in the buffers ("2:" for an
  // empty item record).
  std::string TapeAndItem() {
    return tapes_->text("TAP:SERIAL") + ":" + Trimmed(items_->text("ITM:DESCRIPTION"));
  }

  // Reads the view to its end; each combination as `describe` gives it.
  template <typename Describe>
  std::vector<std::string> ReadAll(View& view, bool forward, Describe describe) {
    std::vector<std::string> rows;
    for (;;) {
      if (forward) {
        NEXT(view);
      } else {
        PREVIOUS(view);
      }
      if (ErrorCode() != 0) break;
      rows.push_back(describe());
    }
    EXPECT_EQ(ErrorCode(), 33);
    return rows;
  }

  int Reads(DeclaredFile& file) { return ReadCounts()[&file.file()]; }

  kmf::testing::TempDirectory dir_;
  kmf::testing::FastStorage storage_;
  std::vector<std::string> names_;
  std::unique_ptr<DeclaredFile> tapes_;
  std::unique_ptr<DeclaredFile> items_;
  std::unique_ptr<DeclaredFile> cast_;
  int16_t wanted_ = 0;
};

}  // namespace rk::testing
