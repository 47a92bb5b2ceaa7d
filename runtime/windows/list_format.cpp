#include "runtime/windows/list_format.h"

#include <cstdlib>
#include <optional>

namespace rk {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::optional<uint8_t> JustificationOf(char c) {
  switch (c) {
    case 'L':
      return kJustifyLeft;
    case 'R':
      return kJustifyRight;
    case 'C':
      return kJustifyCentre;
    case 'D':
      return kJustifyDecimal;
    default:
      return std::nullopt;
  }
}

// Reads one FORMAT string left to right; every method either consumes what it
// expects or records the first violation and answers false.
class FormatReader {
 public:
  explicit FormatReader(std::string_view text) : text_(text) {}

  bool ReadColumns(std::vector<ListColumn>& columns) {
    if (AtEnd()) return Fail("the format has no columns");
    while (!AtEnd()) {
      ListColumn column;
      if (!ReadColumn(column)) return false;
      columns.push_back(std::move(column));
    }
    return true;
  }

  const ListFormatError& Error() const { return error_; }

 private:
  bool AtEnd() const { return at_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[at_]; }
  bool Take(char c) {
    if (Peek() != c) return false;
    ++at_;
    return true;
  }
  bool Fail(std::string reason) {
    error_ = {at_, std::move(reason)};
    return false;
  }

  // An optionally signed decimal number, at most nine digits so it cannot
  // overflow.
  bool ReadNumber(int32_t& value, const char* what) {
    const bool negative = Take('-');
    size_t digits = 0;
    int32_t result = 0;
    while (IsDigit(Peek())) {
      if (++digits > 9) return Fail(std::string(what) + " has too many digits");
      result = result * 10 + (text_[at_++] - '0');
    }
    if (digits == 0) return Fail(std::string(what) + " needs digits");
    value = negative ? -result : result;
    return true;
  }

  bool ReadBracketedNumber(int32_t& value, const char* what) {
    if (!Take('(')) return Fail(std::string("'(' expected before the ") + what);
    if (!ReadNumber(value, what)) return false;
    return Take(')') || Fail(std::string("')' expected after the ") + what);
  }

  // Text up to the closing delimiter, which is consumed.
  bool ReadDelimited(char delimiter, std::string& text, const char* what) {
    const size_t start = at_;
    const size_t end = text_.find(delimiter, start);
    if (end == std::string_view::npos) {
      return Fail(std::string(what) + " is not closed by '" + delimiter + "'");
    }
    text.assign(text_.substr(start, end - start));
    at_ = end + 1;
    return true;
  }

  bool ReadColumn(ListColumn& column) {
    if (!IsDigit(Peek()) && Peek() != '-') return Fail("a column must begin with its width");
    if (!ReadNumber(column.widthUnits, "the column width")) return false;
    const std::optional<uint8_t> justification = JustificationOf(Peek());
    if (!justification) return Fail("justification letter L, R, C or D expected");
    ++at_;
    column.justification = static_cast<uint8_t>(*justification | (*justification << 2));
    if (Peek() == '(' && !ReadBracketedNumber(column.indentUnits, "indent")) return false;
    while (!AtEnd() && !IsDigit(Peek()) && Peek() != '-') {
      if (!ReadAttribute(column)) return false;
    }
    return true;
  }

  bool ReadAttribute(ListColumn& column) {
    const char c = text_[at_++];
    switch (c) {
      case '~':
        return ReadHeader(column);
      case '@':
        return ReadPicture(column);
      case '#':
        return ReadFieldNumber(column);
      case '*':
        column.flags2 |= kColumnColours;
        return true;
      case 'I':
      case 'i':
        column.flags |= kColumnIcon;
        return true;
      case 'T':
      case 't':
        column.flags |= kColumnTree;
        return ReadTreeOptions(column);
      case 'M':
      case 'm':
        column.flags |= kColumnResizable;
        return true;
      case '|':
        column.flags |= kColumnRightBorder;
        return true;
      case '_':
        column.flags |= kColumnUnderline;
        return true;
      case 'F':
      case 'f':
        column.flags |= kColumnFixed;
        return true;
      case 'S':
      case 's':
        column.flags |= kColumnScroll;
        return Peek() != '(' || ReadBracketedNumber(column.scrollWidthUnits, "scroll width");
      case 'H':
      case 'h':
        if (Peek() != '(') return true;
        column.flags2 |= kColumnHeightGiven;
        return ReadBracketedNumber(column.heightNumber, "height");
      case '/':
        column.flags |= kColumnSlash;
        return true;
      case '?':
        column.flags |= kColumnQuery;
        return true;
      default:
        --at_;
        return Fail(std::string("unexpected character '") + c + "'");
    }
  }

  bool ReadHeader(ListColumn& column) {
    if (!ReadDelimited('~', column.header, "the header")) return false;
    const std::optional<uint8_t> justification = JustificationOf(Peek());
    if (!justification) return true;
    ++at_;
    column.justification = static_cast<uint8_t>((column.justification & 3) | (*justification << 2));
    return Peek() != '(' || ReadBracketedNumber(column.headerIndentUnits, "header indent");
  }

  bool ReadPicture(ListColumn& column) {
    std::string picture;
    if (!ReadDelimited('@', picture, "the picture")) return false;
    if (column.picture.empty()) column.picture = std::move(picture);
    return true;
  }

  bool ReadFieldNumber(ListColumn& column) {
    if (!ReadNumber(column.field, "the field number")) return false;
    if (column.field <= 0) return Fail("field numbers start at 1");
    return Take('#') || Fail("the field number is not closed by '#'");
  }

  bool ReadTreeOptions(ListColumn& column) {
    if (!Take('(')) return true;
    for (;;) {
      switch (Peek()) {
        case 'L':
          column.flags2 |= kTreeLines;
          break;
        case 'B':
          column.flags2 |= kTreeBoxes;
          break;
        case 'I':
          column.flags2 |= kTreeIcons;
          break;
        case ')':
          ++at_;
          return true;
        case '\0':
          return Fail("the tree options are not closed by ')'");
        default:
          return Fail("tree option L, B or I expected");
      }
      ++at_;
    }
  }

  std::string_view text_;
  size_t at_ = 0;
  ListFormatError error_;
};

// The running field number: each column shows the next field unless it names
// one, and its colour, icon and tree fields follow the field it shows.
void AssignFields(std::vector<ListColumn>& columns) {
  int32_t next = 1;
  for (ListColumn& column : columns) {
    if (column.field == 0) column.field = next;
    next = column.field + 1;
    if (column.flags2 & kColumnColours) {
      column.colourField = next;
      next += 4;
    }
    if (column.Has(kColumnIcon)) column.iconField = next++;
    if (column.Has(kColumnTree)) column.treeField = next++;
  }
}

}  // namespace

bool ParseListFormat(std::string_view format, std::vector<ListColumn>& columns,
                     ListFormatError* error) {
  columns.clear();
  FormatReader reader(format);
  if (!reader.ReadColumns(columns)) {
    columns.clear();
    if (error != nullptr) *error = reader.Error();
    return false;
  }
  AssignFields(columns);
  return true;
}

void LayOutColumns(std::vector<ListColumn>& columns, const AxisScale& horizontal) {
  int32_t left = 0;
  for (ListColumn& column : columns) {
    column.width = ToPixels(column.widthUnits, horizontal);
    column.indent = ToPixels(column.indentUnits, horizontal);
    column.headerIndent = ToPixels(column.headerIndentUnits, horizontal);
    column.left = left;
    if (column.width > 0) {
      column.right = left + column.width;
      left = column.right;
    } else {
      column.right = left - 1;  // takes no room
    }
  }
}

std::vector<TreeNodeState> TreeNodeStates(const std::vector<int32_t>& levels) {
  std::vector<TreeNodeState> states(levels.size(), kNodeLeaf);
  for (size_t row = 0; row < levels.size(); ++row) {
    const int64_t depth = std::abs(int64_t{levels[row]});
    const bool nextIsDeeper = row + 1 < levels.size() && std::abs(int64_t{levels[row + 1]}) > depth;
    if (nextIsDeeper) {
      states[row] = kNodeOpen;
    } else if (levels[row] < 0) {
      states[row] = kNodeCollapsed;
    }
  }
  return states;
}

}  // namespace rk
