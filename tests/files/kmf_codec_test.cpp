#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "runtime/core/collation.h"
#include "runtime/core/type_codes.h"
#include "runtime/files/kmf_bytes.h"
#include "runtime/files/kmf_definition.h"
#include "runtime/files/kmf_header.h"
#include "runtime/files/kmf_key_value.h"
#include "runtime/files/kmf_page.h"
#include "runtime/files/kmf_record_coding.h"
#include "runtime/files/kmf_record_kinds.h"
#include "runtime/files/kmf_run_length.h"

namespace rk::kmf {
namespace {

std::string Hex(std::string_view bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out.push_back(' ');
    out.push_back(digits[c >> 4]);
    out.push_back(digits[c & 15]);
  }
  return out;
}

TEST(RunLengthTest, RunsBecomeLiteralsAndRepeatCounts) {
  std::string compressed = "left over";
  EXPECT_FALSE(CompressRuns("abcabcaab", compressed));
  EXPECT_FALSE(CompressRuns("aaab", compressed));  // a run of 3 is no run

  std::string body = "xy" + std::string(129, 'q') + "z";
  ASSERT_TRUE(CompressRuns(body, compressed));
  // literals "xyq", repeat 128 (two bytes), final literal "z"
  EXPECT_EQ(Hex(compressed), "03 78 79 71 80 01 01 7A");

  // A run at the very end leaves an empty final literal block.
  ASSERT_TRUE(CompressRuns("ab" + std::string(4, '\0'), compressed));
  EXPECT_EQ(Hex(compressed), "03 61 62 00 03 00");

  // Runs of 2 and 3 stay literal between runs; a run of exactly 4 at the start.
  ASSERT_TRUE(CompressRuns("cccc" + std::string("aabbbd") + "eeeee", compressed));
  EXPECT_EQ(Hex(compressed), "01 63 03 07 61 61 62 62 62 64 65 04 00");
}

// The rule byte by byte: from the left, a byte followed by at least three
// equal ones ends a literal block, and the bytes equal to it after it form
// the repeat count. The compressor scans words; its output must not differ.
std::string CompressRunsByteByByte(std::string_view body) {
  std::string out;
  auto count = [&out](size_t n) {
    do {
      uint8_t byte = n & 0x7F;
      n >>= 7;
      out.push_back(static_cast<char>(n != 0 ? byte | 0x80 : byte));
    } while (n != 0);
  };
  size_t literalStart = 0;
  for (size_t pos = 0; pos + 4 <= body.size();) {
    size_t end = pos + 1;
    while (end < body.size() && body[end] == body[pos]) ++end;
    if (end - pos >= 4) {
      count(pos + 1 - literalStart);
      out.append(body.substr(literalStart, pos + 1 - literalStart));
      count(end - pos - 1);
      literalStart = end;
    }
    pos = end;
  }
  if (literalStart == 0) return {};
  count(body.size() - literalStart);
  out.append(body.substr(literalStart));
  return out;
}

TEST(RunLengthTest, WordScanGivesTheBytesOfTheRule) {
  std::mt19937 random(17);
  for (int trial = 0; trial < 3000; ++trial) {
    // Short and long bodies of few distinct bytes: runs of every length meet
    // word boundaries and the end of the body in every way.
    std::string body;
    size_t length = trial < 2000 ? trial % 40 : 200 + random() % 800;
    while (body.size() < length) {
      char c = "  a\0\xFF"[random() % 5];
      body.append(random() % 4 == 0 ? 1 + random() % 12 : 1, c);
    }
    std::string compressed;
    std::string expected = CompressRunsByteByByte(body);
    ASSERT_EQ(CompressRuns(body, compressed), !expected.empty()) << Hex(body);
    if (!expected.empty()) {
      ASSERT_EQ(Hex(compressed), Hex(expected)) << Hex(body);
    }
  }
}

TEST(RunLengthTest, RoundTripsAndRejectsMalformedInput) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 200; ++trial) {
    std::string body;
    while (body.size() < 600) {
      char c = static_cast<char>(random() % 4);
      body.append(random() % 3 == 0 ? 1 + random() % 300 : 1, c);
    }
    std::string compressed;
    if (!CompressRuns(body, compressed)) continue;
    std::string expanded;
    ASSERT_TRUE(ExpandRuns(compressed, body.size(), expanded));
    ASSERT_EQ(expanded, body);
    // Every truncation is refused.
    for (size_t cut = 0; cut < compressed.size(); cut += 7) {
      EXPECT_FALSE(ExpandRuns(compressed.substr(0, cut), body.size(), expanded));
    }
    // Expected length off by one either way is refused.
    EXPECT_FALSE(ExpandRuns(compressed, body.size() - 1, expanded));
    EXPECT_FALSE(ExpandRuns(compressed, body.size() + 1, expanded));
  }
  std::string out;
  EXPECT_FALSE(ExpandRuns(std::string("\x00\x05", 2), 5, out));  // repeat of nothing
  EXPECT_FALSE(ExpandRuns(std::string("\x01"
                                      "a\xFF\xFF\xFF\xFF\x7F",
                                      7),
                          9, out));
  EXPECT_FALSE(ExpandRuns(std::string("\x05"
                                      "ab",
                                      3),
                          5, out));  // literals past end
}

TEST(RecordCodingTest, PrefixesAreCappedAtSixtyThreeBytes) {
  std::string common(64, 'k');
  std::vector<Record> records = {MakeRecord(common + "a", "1"), MakeRecord(common + "b", "1"),
                                 MakeRecord("kz", "123")};
  std::string body;
  EncodeRecords(records, body);
  // first: both lengths, prefix 0
  EXPECT_EQ(static_cast<uint8_t>(body[0]), 0xC0);
  EXPECT_EQ(LoadLe16(Bytes(body) + 1), 66);
  EXPECT_EQ(LoadLe16(Bytes(body) + 3), 65);
  size_t second = 5 + 66;
  // second: same lengths, 63 shared bytes; the 64th equal byte is written out
  EXPECT_EQ(static_cast<uint8_t>(body[second]), 63);
  EXPECT_EQ(body.substr(second + 1, 3), "kb1");
  size_t third = second + 1 + 3;
  EXPECT_EQ(static_cast<uint8_t>(body[third]), 0xC0 | 1);

  std::vector<Record> decoded;
  ASSERT_TRUE(DecodeRecords(body, 3, decoded));
  EXPECT_EQ(decoded, records);
  EXPECT_FALSE(DecodeRecords(body, 4, decoded));  // runs past the body
  EXPECT_FALSE(DecodeRecords(body, 2, decoded));  // does not end at the body's end
  std::string shortPrefix = body;
  shortPrefix[0] = static_cast<char>(0xC5);  // first record cannot share a prefix
  EXPECT_FALSE(DecodeRecords(shortPrefix, 3, decoded));
}

// Pairs of records that first differ at every position up to past the cap, in
// records longer and shorter than the shared part.
TEST(RecordCodingTest, PrefixIsTheCountOfEqualLeadingBytes) {
  for (size_t differAt = 0; differAt <= 70; ++differAt) {
    for (size_t tail : {0, 1, 9}) {
      std::string first(differAt + tail + 1, 'p');
      for (size_t i = 0; i < first.size(); ++i) first[i] = static_cast<char>('A' + i % 23);
      std::string second = first;
      second[differAt] = '#';
      std::vector<Record> records = {MakeRecord(first, ""), MakeRecord(second, "")};
      std::string body;
      EncodeRecords(records, body);
      size_t secondAt = 5 + first.size();
      ASSERT_LT(secondAt, body.size());
      EXPECT_EQ(static_cast<uint8_t>(body[secondAt]), std::min<size_t>(differAt, 63))
          << differAt << " equal bytes, " << tail << " after the difference";
      std::vector<Record> decoded;
      ASSERT_TRUE(DecodeRecords(body, 2, decoded));
      EXPECT_EQ(decoded, records);
    }
  }
}

Page SamplePage(uint8_t level, int count, int dataLength) {
  Page page;
  page.level = level;
  for (int i = 0; i < count; ++i) {
    char key[16];
    std::snprintf(key, sizeof key, "key%05d", i * 7);
    page.records.push_back(
        MakeRecord(key, std::string(dataLength, static_cast<char>('a' + i % 26))));
    if (level > 0) page.children.push_back(1000 + i);
  }
  return page;
}

TEST(PageCodecTest, IndexPagesRoundTripWithHeaderFieldsAndPadding) {
  Page page = SamplePage(1, 5, 3);
  std::string image = EncodePageImage(page);
  int pageClass = ClassOfImage(image);
  FinishPage(image, PageOffset(42));
  ASSERT_EQ(image.size(), pageClass * 256u);
  PageHeaderFields fields = ReadPageHeader(Bytes(image));
  EXPECT_EQ(fields.ownOffset, 42u * 256 + 0x200);
  EXPECT_EQ(fields.sizeBound, 13 + 4 * 5 + 5 * (8 + 3 + 5));
  EXPECT_EQ(fields.recordCount, 5);
  EXPECT_EQ(fields.level, 1);
  EXPECT_EQ(fields.storedLength, fields.uncompressedLength);  // no runs: stored plain
  EXPECT_EQ(static_cast<uint8_t>(image.back()), kPagePadding);
  EXPECT_EQ(LoadLe32(Bytes(image) + 13), 1000u);

  Page decoded;
  std::string problem;
  ASSERT_TRUE(DecodePage(Bytes(image), image.size(), decoded, problem)) << problem;
  EXPECT_EQ(decoded.records, page.records);
  EXPECT_EQ(decoded.children, page.children);
}

TEST(PageCodecTest, CompressesOnlyWhenWholeUnitsAreSaved) {
  Page runs = SamplePage(0, 20, 60);  // long runs of one letter
  std::string image = EncodePageImage(runs);
  PageHeaderFields fields = ReadPageHeader(Bytes(image));
  EXPECT_LT(fields.storedLength, fields.uncompressedLength);
  EXPECT_LE(fields.uncompressedLength, fields.sizeBound);
  Page decoded;
  std::string problem;
  FinishPage(image, PageOffset(0));
  ASSERT_TRUE(DecodePage(Bytes(image), image.size(), decoded, problem)) << problem;
  EXPECT_EQ(decoded.records, runs.records);

  // A run that saves a few bytes but no 256-byte unit leaves the page plain.
  Page small;
  small.records.push_back(MakeRecord("k", std::string(10, 'x')));
  std::string smallImage = EncodePageImage(small);
  fields = ReadPageHeader(Bytes(smallImage));
  EXPECT_EQ(fields.storedLength, fields.uncompressedLength);
}

TEST(PageCodecTest, DamagedPagesAreRefusedWithoutReadingOutside) {
  Page page = SamplePage(1, 30, 40);
  std::string image = EncodePageImage(page);
  FinishPage(image, PageOffset(3));
  Page decoded;
  std::string problem;
  // wrong class size
  EXPECT_FALSE(DecodePage(Bytes(image), image.size() + 256, decoded, problem));
  // corrupted counts and lengths
  for (size_t field : {4u, 6u, 10u}) {
    std::string damaged = image;
    damaged[field] = static_cast<char>(damaged[field] ^ 0x11);
    EXPECT_FALSE(DecodePage(Bytes(damaged), damaged.size(), decoded, problem)) << field;
  }
  // Random damage anywhere never crashes (AddressSanitizer watches the reads).
  std::mt19937 random(11);
  for (int trial = 0; trial < 2000; ++trial) {
    std::vector<uint8_t> damaged(image.begin(), image.end());
    for (int flips = 0; flips < 3; ++flips) damaged[random() % damaged.size()] = random() & 0xFF;
    DecodePage(damaged.data(), damaged.size(), decoded, problem);
  }
}

TEST(HeaderCodecTest, FieldsSitAtTheirOffsets) {
  Header header = NewHeader();
  header.committedEnd = 0x1200;
  header.pendingEnd = 0x1A00;
  header.lastNumberIssued = 0x01020304;
  header.changeCounter = 9;
  header.root = 17;
  header.rangeStart[3] = 0;
  header.rangeEnd[3] = 12;
  uint8_t bytes[kHeaderSize];
  EncodeHeader(header, bytes);
  EXPECT_EQ(LoadLe16(bytes + 4), 0x200);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes + 0x0E), 4), "kElD");
  EXPECT_EQ(Hex(std::string(reinterpret_cast<char*>(bytes + 0x14), 4)), "01 02 03 04");
  EXPECT_EQ(LoadLe32(bytes + 0x110 + 12), 12u);
  Header decoded = DecodeHeader(bytes);
  EXPECT_TRUE(decoded.hasSignature);
  EXPECT_EQ(decoded.pendingEnd, 0x1A00u);
  EXPECT_EQ(decoded.root, 17u);
  EXPECT_EQ(ClassOfAddress(decoded, 11), 3);
  EXPECT_EQ(ClassOfAddress(decoded, 12), 0);
  EXPECT_EQ(UsedEnd(decoded), 12u * 256 + 0x200);
  bytes[0x0E] = 'K';
  EXPECT_FALSE(DecodeHeader(bytes).hasSignature);
}

std::string EncodeOne(uint8_t type, const void* value, uint32_t length, bool descending = false) {
  KeyLayout layout;
  layout.components.push_back({type, 0, length, descending});
  return EncodeKeyValue(layout, static_cast<const uint8_t*>(value));
}

TEST(KeyValueTest, NumbersEncodeToSortAsBytes) {
  int32_t values[] = {-1, 0, 1};
  EXPECT_EQ(Hex(EncodeOne(kLong, &values[0], 4)), "7F FF FF FF");
  EXPECT_EQ(Hex(EncodeOne(kLong, &values[1], 4)), "80 00 00 00");
  EXPECT_EQ(Hex(EncodeOne(kLong, &values[2], 4)), "80 00 00 01");
  EXPECT_GT(EncodeOne(kLong, &values[0], 4, true), EncodeOne(kLong, &values[2], 4, true));

  std::vector<double> reals = {-1e9, -2.5, -0.0001, 0.0, 1e-9, 3.0, 7e12};
  for (size_t i = 1; i < reals.size(); ++i) {
    EXPECT_LT(EncodeOne(kReal, &reals[i - 1], 8), EncodeOne(kReal, &reals[i], 8)) << i;
    EXPECT_GT(EncodeOne(kReal, &reals[i - 1], 8, true), EncodeOne(kReal, &reals[i], 8, true));
  }
  std::vector<int16_t> shorts = {-32768, -5, 0, 5, 32767};
  for (size_t i = 1; i < shorts.size(); ++i) {
    EXPECT_LT(EncodeOne(kShort, &shorts[i - 1], 2), EncodeOne(kShort, &shorts[i], 2));
  }
  uint16_t small = 2, large = 0x100;
  EXPECT_LT(EncodeOne(kUShort, &small, 2), EncodeOne(kUShort, &large, 2));
}

TEST(KeyValueTest, DecimalsOrderBySignAndMagnitude) {
  // 3-byte packed decimals: sign nibble first, then digits
  uint8_t minusTwelve[] = {0xF0, 0x01, 0x20};
  uint8_t minusOne[] = {0xF0, 0x00, 0x10};
  uint8_t zero[] = {0x00, 0x00, 0x00};
  uint8_t five[] = {0x00, 0x00, 0x50};
  uint8_t ninety[] = {0x00, 0x09, 0x00};
  std::vector<std::string> encoded;
  for (uint8_t* v : {minusTwelve, minusOne, zero, five, ninety})
    encoded.push_back(EncodeOne(kDecimal, v, 3));
  EXPECT_TRUE(std::is_sorted(encoded.begin(), encoded.end()));
  EXPECT_EQ(Hex(encoded[2]), "80 00 00");
}

TEST(KeyValueTest, TextsAndEmptinessPerType) {
  KeyLayout layout;
  layout.noCase = true;
  layout.components.push_back({kString, 0, 4, false});
  layout.components.push_back({kCString, 4, 4, false});
  layout.components.push_back({kPString, 8, 4, false});
  uint8_t record[12] = {'a', 'b', ' ', ' ', 'x', 0, 'q', 'q', 2, 'h', 'i', 'z'};
  EXPECT_EQ(EncodeKeyValue(layout, record), std::string("AB  X   HI\0\0", 12));
  EXPECT_FALSE(KeyFieldsEmpty(layout, record));
  uint8_t empty[12] = {' ', ' ', ' ', ' ', 0, 'z', 'z', 'z', 0, 'y', 'y', 'y'};
  EXPECT_TRUE(KeyFieldsEmpty(layout, empty));
  KeyLayout numeric;
  numeric.components.push_back({kLong, 0, 4, false});
  uint8_t zero[4] = {};
  uint8_t one[4] = {1, 0, 0, 0};
  EXPECT_TRUE(KeyFieldsEmpty(numeric, zero));
  EXPECT_FALSE(KeyFieldsEmpty(numeric, one));
}

TEST(KeyValueTest, OemFilesWeighTheOemCodeOfTheBuffersText) {
  KeyLayout layout;
  layout.oem = true;
  layout.components.push_back({kString, 0, 2, false});
  uint8_t text[] = {'a', 0xFC};  // u-umlaut is 0xFC in the ANSI buffer, 0x81 in OEM
  EXPECT_EQ(EncodeKeyValue(layout, text),
            std::string({static_cast<char>(OemWeight('a')), static_cast<char>(OemWeight(0x81))}));
}

TEST(RecordKindsTest, KeysSortTablesBeforeNamesAndMarkers) {
  EXPECT_EQ(Hex(DataKey(1, 2)), "00 00 00 01 F3 00 00 00 02");
  EXPECT_EQ(Hex(MemoKey(1, 2, 0, 1)), "00 00 00 01 FC 00 00 00 02 00 00 01");
  Record dup = KeyEntry(1, 0, "ab", 7, true);
  EXPECT_EQ(dup.Data().size(), 0u);
  EXPECT_EQ(KeyEntryRecordNumber(dup, true), 7u);
  Record unique = KeyEntry(1, 0, "ab", 7, false);
  EXPECT_EQ(Hex(unique.Data()), "00 00 00 07");
  EXPECT_EQ(KeyEntryRecordNumber(unique, false), 7u);
  EXPECT_LT(CompareKeys(KeyEntry(1, 0, "ab", 7, true).Key(), KeyEntry(1, 0, "ab", 8, true).Key()),
            0);
  EXPECT_LT(CompareKeys(DataKey(0xFDFFFFFF, 0xFDFFFFFF), TableNameKey("A")), 0);
  EXPECT_LT(CompareKeys(TableNameKey("\xFF\xFF"), MarkerKey(0)), 0);
  EXPECT_LT(CompareKeys("ab", "abc"), 0);

  Record counter = CounterRecord(5, 2, 10, 33);
  EXPECT_EQ(counter.Data().size(), 8u);
  CounterValue value;
  ASSERT_TRUE(ReadCounter(counter, true, value));
  EXPECT_EQ(value.count, 10u);
  EXPECT_EQ(value.missingFrom, 33u);
  EXPECT_EQ(CounterRecord(5, kDataTag, 10, 0).Data().size(), 4u);
  EXPECT_FALSE(ReadCounter(CounterRecord(5, kDataTag, 10, 0), true, value));
}

TableDefinition SampleDefinition() {
  TableDefinition definition;
  definition.recordLength = 46;
  FieldDefinition serial;
  serial.type = kLong;
  serial.offset = 0;
  serial.name = "HTA:SERIAL_NO";
  serial.totalLength = 4;
  FieldDefinition title;
  title.type = kString;
  title.offset = 4;
  title.name = "HTA:TITLE";
  title.totalLength = 40;
  title.index = 1;
  title.declaredLength = 40;
  title.picture = "@s40";
  FieldDefinition price;
  price.type = kDecimal;
  price.offset = 44;
  price.name = "HTA:PRICE";
  price.totalLength = 2;
  price.index = 2;
  price.decimalPlaces = 2;
  price.decimalSize = 2;
  definition.fields = {serial, title, price};
  definition.memos.push_back({std::nullopt, "HTA:NOTES", 1000, 1});
  KeyDefinition key;
  key.externalName = std::string();
  key.label = "HTA:SERIAL_KEY";
  key.flags = kKeyNoCase;
  key.components = {{1, 0}, {0, 1}};
  definition.keys.push_back(key);
  return definition;
}

TEST(DefinitionCodecTest, StreamRoundTripsWithEmptyAndAbsentTexts) {
  TableDefinition definition = SampleDefinition();
  std::string stream = EncodeDefinition(definition);
  EXPECT_EQ(LoadLe16(Bytes(stream)), 1);
  EXPECT_EQ(LoadLe16(Bytes(stream) + 2), 46);
  // the memo's absent external name is 0, 1; the key's empty one 0, 0
  EXPECT_NE(stream.find(std::string("\0\1HTA:NOTES\0", 12)), std::string::npos);
  EXPECT_NE(stream.find(std::string("\0\0HTA:SERIAL_KEY\0", 17)), std::string::npos);
  TableDefinition decoded;
  std::string problem;
  ASSERT_TRUE(DecodeDefinition(stream, decoded, problem)) << problem;
  EXPECT_EQ(decoded, definition);
  // Missing pieces read as zero bytes: a zero-padded stream decodes the same.
  ASSERT_TRUE(DecodeDefinition(stream + std::string(512, '\0'), decoded, problem));
  EXPECT_EQ(decoded, definition);

  for (size_t cut = 0; cut < stream.size(); ++cut) {
    EXPECT_FALSE(DecodeDefinition(stream.substr(0, cut), decoded, problem)) << cut;
  }
  std::string future = stream;
  future[0] = 3;
  EXPECT_FALSE(DecodeDefinition(future, decoded, problem));
}

}  // namespace
}  // namespace rk::kmf
