#include "app/application_procedures.h"

#include "app/about.h"
#include "app/browse.h"
#include "app/procedure_table.h"

namespace rk {

void RegisterApplicationProcedures() {
  RegisterProcedure("ABOUT", ABOUT);
  for (const BrowseSpec& spec : BrowseSpecs()) {
    RegisterProcedure(spec.procedure, [&spec] { RunBrowse(spec); });
  }
}

}  // namespace rk
