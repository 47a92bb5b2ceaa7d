// A runtime text (Windows-1252) as a JSON string literal in UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace rk::rkcalc {

std::string JsonStringLiteral(std::string_view ansiText);

}  // namespace rk::rkcalc
