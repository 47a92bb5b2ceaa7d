// Element tables of the numbered date forms (@D1-@D18) and time forms (@T1-@T8),
// before the fill and separator options of a picture are applied.
#pragma once

#include "runtime/core/international_settings.h"

namespace rk {

// An empty table for a form number the kind does not have.
PictureForm DateFormLayout(int form);
PictureForm TimeFormLayout(int form);

}  // namespace rk
