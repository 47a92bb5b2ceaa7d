// The application's procedures by name, and the frame's menu items that start
// them. A procedure that is not (yet) part of the program is started all the
// same: its thread says "Procedure not defined" with the name (message 6).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace rk {

inline constexpr int32_t kBrowseStack = 50000;  // browses and reports
inline constexpr int32_t kSmallStack = 25000;   // the tree browses and ABOUT

struct MenuProcedure {
  int32_t item;  // the menu item's control number
  const char* name;
  int32_t stackSize;
};

// The procedure the frame's menu item starts; null for items without one.
const MenuProcedure* MenuProcedureOf(int32_t item);

using ProcedureBody = std::function<void()>;

// Makes a procedure known by its name; a later registration replaces it.
void RegisterProcedure(std::string_view name, ProcedureBody body);
// The registered procedure, or one that shows message 6 naming it.
ProcedureBody ProcedureNamed(std::string_view name);

}  // namespace rk
