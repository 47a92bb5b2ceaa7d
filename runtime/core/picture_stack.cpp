#include "runtime/core/picture_stack.h"

#include <string>

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

CompiledPicture Compiled(const std::string& text) {
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
  ValueStack& stack = Values();
  ReplaceTop(FormatText(stack.Top(), picture));
}

void DeformatOnStack(const CompiledPicture& picture) {
  ValueStack& stack = Values();
  // An invalid picture hands the text back as it stands: leave it in its slot.
  if (!picture.IsValid()) return;
  ReplaceTop(Deformat(stack.Top(), &picture));
}

void FormatOnStack() {
  FormatOnStack(Compiled(PopPictureText()));
}

void DeformatOnStack() {
  std::string text = PopPictureText();
  // No picture reads the text as a string picture of its own length.
  if (text.empty()) {
    ReplaceTop(Deformat(Values().Top(), nullptr));
  } else {
    DeformatOnStack(Compiled(text));
  }
}

}  // namespace rk
