// Pictures from any text: "picture\nvalue". The picture must compile or be
// refused; a compiled one formats the value as text, as a double and as a whole
// number into exactly its width, and reads its own output and the value back.
#include <cstring>
#include <string>
#include <string_view>

#include "runtime/core/decimal_digits.h"
#include "runtime/core/number_text.h"
#include "runtime/core/picture.h"
#include "runtime/core/picture_format.h"
#include "tools/fuzz/fuzz_inputs.h"

namespace rk::fuzz {
namespace {

void ExpectWidth(const std::string& text, const CompiledPicture& picture) {
  if (text.size() != static_cast<size_t>(picture.Width())) Broken();
}

}  // namespace

int PictureInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t split = input.find('\n');
  std::string_view pictureText = input.substr(0, split);
  std::string_view value = split == std::string_view::npos ? "" : input.substr(split + 1);

  CompiledPicture picture;
  size_t used = CompilePicture(pictureText, picture);
  if (used != picture.Size()) Broken();
  if (!picture.IsValid()) {
    if (!FormatText(value, picture).empty()) Broken();
    if (Deformat(value, &picture) != value) Broken();
    return 0;
  }
  std::string formatted = FormatText(value, picture);
  ExpectWidth(formatted, picture);
  ExpectWidth(FormatReal(TextToReal(value), picture), picture);
  int32_t whole = 0;
  std::memcpy(&whole, value.data(), std::min<size_t>(value.size(), sizeof whole));
  ExpectWidth(FormatLong(whole, picture), picture);
  DecimalDigits digits;
  if (DigitsOfDecimalText(value, digits)) ExpectWidth(FormatDigits(digits, picture), picture);
  Deformat(formatted, &picture);
  Deformat(value, &picture);
  return 0;
}

}  // namespace rk::fuzz
