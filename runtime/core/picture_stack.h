// FORMAT and DEFORMAT on the value stack.
#pragma once

#include <string_view>

#include "runtime/core/picture.h"

namespace rk {

// Pops the picture (the top, at most 255 characters are read) and the value
// below it; pushes the value formatted by the picture.
void FormatOnStack();
// Pops the picture and the typed text below it; pushes the value the text
// stands for (Deformat). An empty picture counts as no picture.
void DeformatOnStack();

// The same with the picture given: only the value is popped.
void FormatOnStack(std::string_view picture);
void DeformatOnStack(std::string_view picture);
void FormatOnStack(const CompiledPicture& picture);
void DeformatOnStack(const CompiledPicture& picture);

// Pops the top of the decimal stack and pushes it onto the value stack
// formatted by the picture with all its exact digits.
void FormatDecimalTop(const CompiledPicture& picture);

}  // namespace rk
