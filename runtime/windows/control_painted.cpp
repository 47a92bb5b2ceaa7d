// REGION, LINE, BOX and IMAGE: controls the runtime paints itself. A region is
// an invisible hot area; pressing it raises accepted.

#include "runtime/platform/qt/painted_controls.h"
#include "runtime/windows/control_factory.h"
#include "runtime/windows/definition_flags.h"
#include "runtime/windows/event_codes.h"
#include "runtime/windows/property_codes.h"

namespace rk {
namespace {

class PaintedControl : public Control {
 public:
  using Control::Control;

  void Create(QWidget& parent, const platform::PixelRect& place) override {
    SetWidget(MakeWidget(parent), place);
  }

  std::vector<RaisedEvent> OnNotice(int64_t notice) override {
    if (notice != kNoticePressed || Kind() != RecordKind::kRegion) return {};
    return {{event::kAccepted, Number()}};
  }

  // An image's text names a report's page file, which it shows scaled to the
  // control. A file that cannot be read leaves the image empty.
  bool SetOwnProperty(int32_t code, int32_t, std::string_view value) override {
    auto* image = dynamic_cast<platform::ImageWidget*>(Widget());
    if (code != property::kText || !image) return false;
    std::string error;
    image->SetPageFile(std::string(value), error);
    return true;
  }

  std::optional<std::string> OwnProperty(int32_t code, int32_t) const override {
    auto* image = dynamic_cast<platform::ImageWidget*>(Widget());
    if (code != property::kText || !image) return std::nullopt;
    return image->PageFile();
  }

 private:
  QWidget* MakeWidget(QWidget& parent) {
    switch (Kind()) {
      case RecordKind::kRegion: {
        auto* region = new platform::RegionWidget(&parent);
        region->SetPressed([this] { Notify(kNoticePressed); });
        return region;
      }
      case RecordKind::kLine:
        return new platform::LineWidget(&parent);
      case RecordKind::kBox:
        return new platform::BoxWidget(&parent);
      default:
        return new platform::ImageWidget(&parent, (Record().flags & control_flag::kFull) != 0);
    }
  }
};

}  // namespace

std::unique_ptr<Control> MakePaintedControl(Window& window, const ControlRecord& record) {
  return std::make_unique<PaintedControl>(window, record);
}

}  // namespace rk
