#include "runtime/files/view_engine.h"

#include <string>

#include "runtime/core/value_stack.h"
#include "runtime/files/error_codes.h"
#include "runtime/files/file_dispatcher.h"
#include "runtime/files/file_driver.h"
#include "runtime/files/operation_codes.h"
#include "runtime/files/view.h"
#include "runtime/files/view_filter.h"
#include "runtime/files/view_position.h"
#include "runtime/files/view_state.h"
#include "runtime/files/view_walk.h"

namespace rk {
namespace {

struct ViewCall {
  int32_t code = 0;
  int32_t number = 0;
  std::string text;
  std::string textResult;
};

bool Forwarded(int32_t code) {
  switch (code) {
    case kOpDelete:
    case kOpPut:
    case kOpHold:
    case kOpHoldSeconds:
    case kOpRelease:
    case kOpWatch:
      return true;
    default:
      return false;
  }
}

// Takes the call's number and pops its texts, whatever the code's answer.
ViewCall TakeArguments(int32_t code, const intptr_t* args) {
  ViewCall call;
  call.code = code;
  OperationShape shape = ShapeOf(code);
  if (shape.numbers > 0 && args) call.number = static_cast<int32_t>(args[shape.takesKey ? 1 : 0]);
  for (int i = 0; i < shape.texts; ++i) {
    std::string text = Values().Depth() > 0 ? Values().PopString() : std::string();
    if (i == shape.texts - 1) call.text = std::move(text);
  }
  return call;
}

// A blank text removes the filter; any other is compiled, and the ranges are
// worked out again on the next walk.
int32_t SetFilter(View& view, ViewState& state, const std::string& text) {
  view.setFilter(nullptr);
  state.range.Invalidate();
  if (text.find_first_not_of(' ') == std::string::npos) return 0;
  int32_t error = 0;
  view.setFilter(ViewFilter::Compile(text, view, error));
  return error;
}

int32_t Run(View& view, ViewState& state, ViewCall& call) {
  switch (call.code) {
    case kOpOpen:
      return 0;
    case kOpNext:
    case kOpPrevious:
      return MoveView(view, state, call.code == kOpNext);
    case kOpSkip:
      return SkipView(view, state, call.number);
    case kOpSetFile:
      return SetView(view, state);
    case kOpPositionFile:
      return PositionOfView(view, state, call.textResult);
    case kOpResetFile:
      return ResetView(view, state, call.text);
    case kOpRegetFile:
      return RegetView(view, state, call.text);
    case kOpGetByPointer:
      state.readMode = ReadMode::kReget;
      return 0;
    case kOpSetProperty:
      return call.number == kPropFilter ? SetFilter(view, state, call.text)
                                        : file_error::kUnsupported;
    case kOpGetProperty:
      if (call.number != kPropFilter) return file_error::kUnsupported;
      if (view.filter()) call.textResult = view.filter()->text();
      return 0;
    default:
      return file_error::kUnsupported;
  }
}

std::string ViewName(const View& view) {
  return view.levelCount() > 0 ? FileNameText(view.primary()) : std::string();
}

void Post(View& view, int32_t result) {
  if (result == 0) {
    ClearFileError();
  } else {
    PostFileError(result, &view, ViewName(view));
  }
}

}  // namespace

int32_t ViewEntry(int32_t code, FileObject* object, const intptr_t* args) {
  if (code == kOpOwnViewEngine) return 0;
  auto& view = *static_cast<View*>(object);
  if (Forwarded(code) && view.levelCount() > 0)
    return CallFileOperation(code, view.primary(), args);

  ViewCall call = TakeArguments(code, args);
  int32_t result = 0;
  if (code == kOpClose) {
    ReleaseViewState(view);
    view.entry = &ViewEntry;
  } else if (ViewState* state = ViewStateOf(view, result)) {
    result = Run(view, *state, call);
  }
  if (ShapeOf(code).textResult) Values().PushCopy(call.textResult);
  Post(view, result);
  return 0;
}

}  // namespace rk
