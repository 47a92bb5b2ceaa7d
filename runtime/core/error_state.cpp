#include "runtime/core/error_state.h"

#include <map>
#include <vector>

#include "runtime/core/clipped_text.h"
#include "runtime/platform/last_error.h"

namespace rk {
namespace {

ErrorState state;
std::vector<ErrorState> savedStates;
std::map<int32_t, std::string> overrides;

std::string Cut(std::string_view text, size_t size) {
  if (size == 0) return {};
  return std::string(text.substr(0, size - 1));
}

void StoreName(std::string_view name) {
  size_t skip = name.find_first_not_of(' ');
  name = skip == std::string_view::npos ? std::string_view() : name.substr(skip);
  name = name.substr(0, kErrorNameWidth - 1);
  state.name.assign(name);
  state.name.resize(kErrorNameWidth, ' ');
}

}  // namespace

const ErrorState& CurrentError() {
  return state;
}
int32_t ErrorCode() {
  return state.code;
}

std::string ErrorName() {
  return std::string(ClipRight(state.name));
}

void ClearError() {
  state.code = 0;
  state.name.assign(kErrorNameWidth, ' ');
}

void SetError(int32_t code, std::string_view name) {
  ClearError();
  state.code = code;
  StoreName(name);
  state.systemError = platform::LastError();
}

void SetErrorFromSystem(int32_t code) {
  state.systemError = platform::LastError();
  if (code == 0) code = 300 + static_cast<int32_t>(state.systemError);
  state.code = code;
  StoreName(MessageText(code));
}

void PushErrorState() {
  savedStates.push_back(state);
}

void PopErrorState() {
  if (savedStates.empty()) return;
  state = savedStates.back();
  savedStates.pop_back();
}

size_t SavedErrorStates() {
  return savedStates.size();
}

bool LoadText(int32_t id, std::string& out, size_t size) {
  if (auto it = overrides.find(id); it != overrides.end()) {
    out = Cut(it->second, size);
    return true;
  }
  if (const char* text = StringTableText(id)) {
    out = Cut(text, size);
    return true;
  }
  out.clear();
  return false;
}

std::string MessageText(int32_t code) {
  if (code == 0) code = kUnknownErrorPosted;
  std::string text;
  if (LoadText(code, text)) return text;
  LoadText(kUnknownErrorPosted, text);
  return Cut(text + " : " + std::to_string(code), kMessageBufferSize);
}

void SetMessageOverride(int32_t id, std::string_view text) {
  overrides[id] = std::string(text);
}
void ClearMessageOverrides() {
  overrides.clear();
}

}  // namespace rk
