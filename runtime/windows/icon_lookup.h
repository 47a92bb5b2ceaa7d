// Icons named by the program: the icon resources built into the program come
// first (type "ICON", names compared without regard to case, every size the
// icon holds), then a file of that name.
#pragma once

#include <QIcon>
#include <string_view>

namespace rk {

// A null icon when the name is blank or neither a resource nor a readable file.
QIcon IconNamed(std::string_view name);

}  // namespace rk
