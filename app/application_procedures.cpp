#include "app/application_procedures.h"

#include "app/about.h"
#include "app/browse.h"
#include "app/form.h"
#include "app/procedure_table.h"
#include "app/report_procedure.h"
#include "app/tree_browse.h"

namespace rk {

void RegisterApplicationProcedures() {
  RegisterProcedure("ABOUT", ABOUT);
  for (const BrowseSpec& spec : BrowseSpecs()) {
    RegisterProcedure(spec.procedure, [&spec] { RunBrowse(spec); });
  }
  for (const FormSpec& spec : FormSpecs()) {
    RegisterProcedure(spec.procedure, [&spec] { RunForm(spec); });
  }
  for (const TreeSpec& spec : TreeSpecs()) {
    RegisterProcedure(spec.procedure, [&spec] { RunTree(spec); });
  }
  for (const ReportSpec& spec : ReportSpecs()) {
    RegisterProcedure(spec.procedure, [&spec] { RunReport(spec); });
  }
}

}  // namespace rk
