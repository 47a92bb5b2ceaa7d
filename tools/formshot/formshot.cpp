// formshot RESOURCE LABEL OUTPUT.png [focus:N] [drop:N]
//
// Opens the window LABEL of the definition resource RESOURCE (REELB022_RSC) on
// its own, offscreen, as the program embeds it, with every bound variable
// filled with a sample tape, item or video: the variables are named in the
// definition's source (resources/definitions/RESOURCE.json) and found by that
// name (sample_record.h). A queue bound to a list gets sample rows laid out by
// the list's FORMAT. focus:N selects control N after opening, as a form selects
// its first field. drop:N opens drop list N (F4) on the pictures where it
// shows, its entry equal to its variable selected as a form selects it; the
// open popup is drawn into the picture.
//
// Writes OUTPUT.png; a window with a sheet gives one picture per tab,
// OUTPUT-1.png, OUTPUT-2.png and so on.
#include <QApplication>
#include <QKeyEvent>
#include <QTabWidget>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/core/clipped_text.h"
#include "runtime/core/environment_file.h"
#include "runtime/core/picture.h"
#include "runtime/core/type_codes.h"
#include "runtime/core/value_ref.h"
#include "runtime/core/value_stack.h"
#include "runtime/files/queue.h"
#include "runtime/platform/qt/fonts.h"
#include "runtime/platform/qt/scheduler.h"
#include "runtime/platform/qt/widget_grab.h"
#include "runtime/platform/qt/window_shell.h"
#include "runtime/windows/accept_loop.h"
#include "runtime/windows/binding_order.h"
#include "runtime/windows/control.h"
#include "runtime/windows/definition_open.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/event_post.h"
#include "runtime/windows/list_format.h"
#include "runtime/windows/list_rows.h"
#include "runtime/windows/property_codes.h"
#include "runtime/windows/thread_start.h"
#include "runtime/windows/thread_windows.h"
#include "runtime/windows/window_open.h"
#include "runtime/windows/window_statements.h"
#include "tools/common/tool_arguments.h"
#include "tools/defc/definition_source.h"
#include "tools/formshot/sample_record.h"

namespace rk::formshot {
namespace {

// A memo (a fixed text area) takes no assignment: its bytes are written.
void Store(uint8_t type, int32_t size, int32_t places, uint8_t* address, const std::string& value) {
  Values().PushCopy(value);
  if (type == kTextArea) return Values().PopToField(reinterpret_cast<char*>(address), size);
  ValueRef ref = MakeValueRef(type, size, places, address);
  AssignText(ref);
}

// A field of a list's row queue, typed by the column that shows it.
FieldSpec ColumnField(const char* name, uint32_t offset, const std::string& picture) {
  CompiledPicture compiled;
  const bool valid = !picture.empty() && CompilePicture("@" + picture, compiled) != 0;
  if (valid && compiled.Kind() == PictureKind::kString) {
    return {name, offset, kString, static_cast<uint32_t>(compiled.Width())};
  }
  if (valid &&
      (compiled.Kind() == PictureKind::kNumeric || compiled.Kind() == PictureKind::kScientific)) {
    return {name, offset, kReal};
  }
  return {name, offset, kLong};  // dates, times, colours, icons and tree levels
}

uint32_t FieldBytes(const FieldSpec& field) {
  switch (field.type) {
    case kString:
      return field.size;
    case kReal:
      return 8;
    default:
      return 4;
  }
}

// A row queue laid out by a list's FORMAT: one field per field number the
// columns use, filled with the sample rows of the queue's name.
class SampleQueue {
 public:
  SampleQueue(const std::string& format, const std::string& name) {
    std::vector<ListColumn> columns;
    if (!ParseListFormat(format, columns)) columns.clear();
    std::vector<std::string> pictures;
    for (const ListColumn& column : columns) {
      const int32_t highest =
          std::max({column.field, column.colourField + 3, column.iconField, column.treeField});
      if (highest > static_cast<int32_t>(pictures.size())) pictures.resize(highest);
      if (column.field > 0) pictures[column.field - 1] = column.picture;
    }
    uint32_t offset = 0;
    for (size_t i = 0; i < pictures.size(); ++i) {
      names_.push_back("F" + std::to_string(i + 1));
      fields_.push_back(ColumnField(names_.back().c_str(), offset, pictures[i]));
      offset += FieldBytes(fields_.back());
    }
    queue_ = std::make_unique<DeclaredQueue>(fields_, offset);
    for (const std::vector<std::string>& row : SampleRows(name)) Add(row);
  }

  QueueDescriptor& queue() { return queue_->queue(); }

 private:
  void Add(const std::vector<std::string>& row) {
    uint8_t* buffer = queue_->buffer();
    for (size_t i = 0; i < fields_.size(); ++i) {
      const FieldSpec& field = fields_[i];
      Store(field.type, static_cast<int32_t>(field.size), 0, buffer + field.offset,
            i < row.size() ? row[i] : std::string());
    }
    ADD(queue_->queue());
  }

  std::deque<std::string> names_;
  std::vector<FieldSpec> fields_;
  std::unique_ptr<DeclaredQueue> queue_;
};

// Storage for every variable a window binds, in binding order.
class SampleVariables {
 public:
  SampleVariables(const StructureRecord& structure, const std::vector<std::string>& names) {
    size_t index = 0;
    ForEachBoundDescriptor(structure, [&](const DataDescriptor& descriptor,
                                          const ControlRecord* control, BindingRole) {
      const std::string name = index < names.size() ? names[index] : std::string();
      ++index;
      if (descriptor.type == kQueueDescriptorType) {
        queues_.push_back(std::make_unique<SampleQueue>(control ? control->format : "", name));
        addresses_.push_back(&queues_.back()->queue());
        return;
      }
      // Generous room: a descriptor's size counts digits for a decimal.
      storage_.emplace_back(std::max<size_t>(static_cast<size_t>(descriptor.size), 16) + 16, 0);
      uint8_t* address = storage_.back().data();
      Store(descriptor.type, descriptor.size, descriptor.places, address, SampleValue(name));
      addresses_.push_back(address);
    });
    addresses_.push_back(nullptr);
  }

  void* const* Addresses() const { return addresses_.data(); }

 private:
  std::deque<std::vector<uint8_t>> storage_;
  std::vector<std::unique_ptr<SampleQueue>> queues_;
  std::vector<void*> addresses_;
};

struct Request {
  std::string resource;
  std::string label;
  std::filesystem::path output;
  int32_t focus = 0;
  int32_t drop = 0;
};

const StructureRecord* FindStructure(const DefinitionSource& source, const std::string& label,
                                     size_t& index) {
  for (index = 0; index < source.definition.structures.size(); ++index) {
    if (source.definition.structures[index].label == label) {
      return &source.definition.structures[index];
    }
  }
  return nullptr;
}

std::filesystem::path TabPicture(const std::filesystem::path& output, int tab) {
  std::filesystem::path numbered = output;
  numbered.replace_filename(output.stem().string() + "-" + std::to_string(tab) +
                            output.extension().string());
  return numbered;
}

QTabWidget* SheetOf(const Window& window) {
  for (const std::unique_ptr<Control>& control : window.controls) {
    if (auto* sheet = qobject_cast<QTabWidget*>(control->Widget())) return sheet;
  }
  return nullptr;
}

// Opens drop list `number` when it shows, with the entry equal to its
// variable selected when nothing is.
void OpenDropList(Window& window, int32_t number) {
  platform::TheScheduler().RunUntilIdle();  // a tab just chosen shows its controls
  Control* control = window.FindControl(number);
  if (!control || !control->Widget() || !control->Widget()->isVisible()) return;
  if (control->Choice() == 0) {
    ListRows rows(control->Record());
    const std::string value(ClipBoth(control->VariableText()));
    for (int32_t row = 1; row <= rows.Count(); ++row) {
      if (ClipBoth(rows.FieldText(row, 1)) != value) continue;
      control->SetProperty(property::kSelectedRow, 0, std::to_string(row));
      break;
    }
  }
  QKeyEvent f4(QEvent::KeyPress, Qt::Key_F4, Qt::NoModifier);
  QApplication::sendEvent(control->Widget(), &f4);
  platform::TheScheduler().RunUntilIdle();
}

bool Save(const Window& window, const std::filesystem::path& path) {
  platform::TheScheduler().RunUntilIdle();
  QImage picture = platform::GrabWithPopups(*window.shell->Outer());
  if (!picture.save(QString::fromStdString(path.string()), "PNG")) {
    std::fprintf(stderr, "formshot: cannot write %s\n", path.c_str());
    return false;
  }
  std::printf("%s\n", path.c_str());
  return true;
}

int Shoot(const Request& request) {
  std::string error;
  std::optional<DefinitionSource> source = LoadDefinitionSource(
      std::filesystem::path(RK_DEFINITION_SOURCES) / (request.resource + ".json"), error);
  if (!source) {
    std::fprintf(stderr, "formshot: %s\n", error.c_str());
    return 1;
  }
  size_t index = 0;
  const StructureRecord* structure = FindStructure(*source, request.label, index);
  if (!structure) {
    std::fprintf(stderr, "formshot: %s has no structure %s\n", request.resource.c_str(),
                 request.label.c_str());
    return 1;
  }
  SampleVariables variables(*structure, source->variables[index]);
  bool opened = false;
  const int32_t thread = START(
      [&] {
        DefinitionFailure failure;
        std::optional<StructureRecord> definition =
            LoadDefinition(source->definition.tag, request.label, variables.Addresses(), failure);
        if (!definition) return;
        Window window;
        opened = TryOpenWindow(window, WindowKind::kPlain, std::move(*definition)) == 0;
        if (!opened) return;
        for (AcceptLoop loop; loop.Next();) {
          if (EVENT() == event::kOpenWindow && request.focus != 0) SELECT(request.focus);
        }
      },
      0);
  platform::TheScheduler().RunUntilIdle();
  Window* window = thread ? CurrentWindowOf(thread) : nullptr;
  if (!opened || !window) {
    std::fprintf(stderr, "formshot: %s could not be opened\n", request.label.c_str());
    return 1;
  }
  bool saved = true;
  if (QTabWidget* sheet = SheetOf(*window)) {
    for (int tab = 0; tab < sheet->count(); ++tab) {
      sheet->setCurrentIndex(tab);
      if (request.drop != 0) OpenDropList(*window, request.drop);
      saved = Save(*window, TabPicture(request.output, tab + 1)) && saved;
    }
  } else {
    if (request.drop != 0) OpenDropList(*window, request.drop);
    saved = Save(*window, request.output);
  }
  POST(event::kCloseWindow, 0, thread);
  platform::TheScheduler().RunUntilIdle();
  return saved ? 0 : 1;
}

}  // namespace
}  // namespace rk::formshot

int main(int argc, char** argv) {
  rk::tools::ToolArguments arguments({argv + 1, argv + argc}, {});
  const std::vector<std::string>& words = arguments.Words();
  if (!arguments.Problem().empty() || arguments.HelpAsked() || words.size() < 3) {
    std::fputs("usage: formshot RESOURCE LABEL OUTPUT.png [focus:N] [drop:N]\n", stderr);
    return 2;
  }
  rk::formshot::Request request{words[0], words[1], std::filesystem::absolute(words[2])};
  for (size_t i = 3; i < words.size(); ++i) {
    const std::string& option = words[i];
    if (option.rfind("focus:", 0) == 0) {
      request.focus = std::atoi(option.c_str() + 6);
    } else if (option.rfind("drop:", 0) == 0) {
      request.drop = std::atoi(option.c_str() + 5);
    } else {
      std::fprintf(stderr, "formshot: unknown option %s\n", option.c_str());
      return 2;
    }
  }
  // Offscreen always; a caller may still give the offscreen screen a size and
  // density of its own ("offscreen:configfile=screen.json").
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform == nullptr || std::string_view(platform).rfind("offscreen", 0) != 0) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication application(argc, argv);
  rk::platform::InstallFontSubstitutions();
  rk::InitializeEnvironment();
  return rk::formshot::Shoot(request);
}
