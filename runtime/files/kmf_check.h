// The executable form of the KMF format's invariants: walks every page of a file
// and reports each inconsistency as one line. Reads only; never stops the
// program on damage.
#pragma once

#include <string>
#include <vector>

namespace rk::kmf {

struct CheckReport {
  std::vector<std::string> problems;
  size_t pages = 0;
  size_t records = 0;
  size_t liveBytes = 0;  // bytes of the pages the tree references
  size_t fileBytes = 0;  // committed end of the file
  bool ok() const { return problems.empty(); }
};

// Checks: the header (signature, equal offsets, ascending ranges, the recorded
// end); each page (address in a range and on a slot, own offset, stored length
// matching the class, decodable, size bound formula, level one below its
// parent, records in order, index records equal to their children's first
// records, no page reached twice); the key order across pages; per table every
// data record under exactly its number's key, every memo piece under its own
// key, of a record and a memo of the table and after its previous piece, the
// data and key counters against real counts, every key entry pointing at a data
// record, and every data record having its entries in every complete key.
CheckReport CheckFile(const std::string& path);

}  // namespace rk::kmf
