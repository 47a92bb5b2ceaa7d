// Plays a page file onto any QPainter, so that the preview and the printer draw
// the same vector page at any size. The page's window (its origin and extent) is
// mapped onto a target rectangle of the painter.
#pragma once

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <string>

#include "runtime/platform/qt/metafile_reader.h"
#include "runtime/platform/qt/metafile_writer.h"

namespace rk::platform {

// The font a page's font record is drawn with: the height as a pixel size and
// no hinting, so that widths scale with the page's resolution.
QFont PlayedFont(const LogicalFont& font);

// Draws the page into `target`. A record that is too short for its function or
// names an object that does not exist stops the play with an error; records of
// functions a page does not use are skipped. The painter's state is restored.
bool PlayPageImage(const PageImage& image, QPainter& painter, const QRectF& target,
                   std::string& error);

// Reads, checks and plays a page file.
bool PlayPageFile(const std::string& path, QPainter& painter, const QRectF& target,
                  std::string& error);

}  // namespace rk::platform
