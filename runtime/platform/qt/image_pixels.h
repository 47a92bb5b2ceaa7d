// Image files for the report's IMAGE controls, decoded into the bitmap a page
// file stores. The image is scaled down to the size it is drawn at, and further
// when its bits would pass a limit, so a page never stores more than it shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "runtime/platform/qt/metafile_writer.h"

namespace rk::platform {

std::optional<DibImage> LoadDibImage(const std::string& path, int32_t width, int32_t height,
                                     size_t maxBytes, std::string& error);

}  // namespace rk::platform
