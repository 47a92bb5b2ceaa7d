// Makes the application's procedures known by name, so that the frame's menu
// starts them (see procedure_table.h).
#pragma once

namespace rk {

void RegisterApplicationProcedures();

}  // namespace rk
