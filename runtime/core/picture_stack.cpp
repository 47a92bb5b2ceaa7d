#include "runtime/core/picture_stack.h"

#include <string>

#include "runtime/core/decimal_stack.h"
#include "runtime/core/picture_format.h"
#include "runtime/core/value_stack.h"

namespace rk {
namespace {

std::string PopPictureText() {
  ValueStack& stack = Values();
  std::string text(stack.Top().substr(0, kMaxPictureWidth));
  stack.Pop();
  return text;
}

CompiledPicture Compiled(std::string_view text) {
  CompiledPicture picture;
  CompilePicture(text, picture);
  return picture;
}

void ReplaceTop(const std::string& text) {
  ValueStack& stack = Values();
  stack.Pop();
  stack.PushCopy(text);
}

}  // namespace

void FormatOnStack(const CompiledPicture& picture) {
  ReplaceTop(FormatText(Values().Top(), picture));
}

void DeformatOnStack(const CompiledPicture& picture) {
  // An invalid picture hands the text back as it stands: leave it in its slot.
  if (!picture.IsValid()) return;
  ReplaceTop(Deformat(Values().Top(), &picture));
}

void FormatOnStack(std::string_view picture) {
  FormatOnStack(Compiled(picture));
}

void DeformatOnStack(std::string_view picture) {
  // No picture reads the text as a string picture of its own length.
  if (picture.empty()) {
    ReplaceTop(Deformat(Values().Top(), nullptr));
  } else {
    DeformatOnStack(Compiled(picture));
  }
}

void FormatDecimalTop(const CompiledPicture& picture) {
  DecimalDigits digits;
  DigitsOfDecimalText(Decimals().PopText(), digits);
  Values().PushCopy(FormatDigits(digits, picture));
}

void FormatOnStack() {
  FormatOnStack(std::string_view(PopPictureText()));
}
void DeformatOnStack() {
  DeformatOnStack(std::string_view(PopPictureText()));
}

}  // namespace rk
