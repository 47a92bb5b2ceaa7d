// The control factory: one constructor slot per control kind code. Kinds
// without a constructor (7, 15, 18, 33, 34 and codes the runtime does not know)
// give nothing, and the window is built without them.
#pragma once

#include <memory>

#include "runtime/windows/control.h"

namespace rk {

using ControlConstructor = std::unique_ptr<Control> (*)(Window&, const ControlRecord&);

std::unique_ptr<Control> MakeControl(Window& window, const ControlRecord& record);
bool HasControlConstructor(RecordKind kind);

// The constructors of the control modules.
std::unique_ptr<Control> MakeButtonControl(Window&, const ControlRecord&);
std::unique_ptr<Control> MakeCheckControl(Window&, const ControlRecord&);
std::unique_ptr<Control> MakeOptionControl(Window&, const ControlRecord&);
std::unique_ptr<Control> MakeRadioControl(Window&, const ControlRecord&);
std::unique_ptr<Control> MakeGroupControl(Window&, const ControlRecord&);
std::unique_ptr<Control> MakeLabelControl(Window&,
                                          const ControlRecord&);  // STRING, USESTRING, PROMPT
std::unique_ptr<Control> MakeSheetControl(Window&, const ControlRecord&);
std::unique_ptr<Control> MakeTabControl(Window&, const ControlRecord&);
std::unique_ptr<Control> MakeProgressControl(Window&, const ControlRecord&);
std::unique_ptr<Control> MakeSpinControl(Window&, const ControlRecord&);
std::unique_ptr<Control> MakeTextControl(Window&, const ControlRecord&);
std::unique_ptr<Control> MakeEntryControl(Window&, const ControlRecord&);
std::unique_ptr<Control> MakeListControl(Window&, const ControlRecord&);
std::unique_ptr<Control> MakePaintedControl(Window&,
                                            const ControlRecord&);  // REGION, LINE, BOX, IMAGE

}  // namespace rk
