#include "app/application_procedures.h"

#include "app/about.h"
#include "app/procedure_table.h"

namespace rk {

void RegisterApplicationProcedures() {
  RegisterProcedure("ABOUT", ABOUT);
}

}  // namespace rk
