// Draws one band's controls into a band metafile with the current values of their
// variables: constant strings, variables formatted through their pictures, lines,
// boxes and images. Positions are converted to device pixels and measured from the
// band's top-left corner; every object the band creates is deleted again, so its
// records can be copied onto any page.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "runtime/platform/qt/metafile_writer.h"
#include "runtime/windows/definition_tree.h"
#include "runtime/windows/definition_units.h"

namespace rk {

// A font with nothing left to inherit.
struct ReportFont {
  std::string face = "System";
  int32_t size = 10;
  int32_t color = 0;  // COLORREF
  int32_t style = 400;
};

// The font a record gives on top of `parent`.
ReportFont InheritFont(const std::optional<FontRecord>& record, const ReportFont& parent);

struct BandContext {
  UnitScale scale;
  int32_t dpiY = 600;
  ReportFont font;
  // Texts given to controls at run time, by control number: a STRING's text or
  // an IMAGE's file name.
  const std::map<int32_t, std::string>* texts = nullptr;
  // The number a page-number STRING prints: the page the band is drawn for.
  int32_t pageNumber = 1;
};

struct RenderedBand {
  platform::MetafileWriter records;
  int32_t x = 0;           // the band's own x offset in device pixels (0 when not given)
  int32_t height = 0;      // device pixels; more than its own when a wrapped text needs it
  std::string imageError;  // an image that could not be read (the band is drawn without it)
};

RenderedBand RenderBand(const BandRecord& band, const BandContext& context);

// The band's height in device pixels: its own height, or when not given the
// foot of its lowest control.
int32_t BandHeight(const BandRecord& band, const UnitScale& scale);

}  // namespace rk
