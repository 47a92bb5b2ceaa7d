// libFuzzer target for the KMF page decoder: any bytes of a size class must
// decode or be refused, never read outside the buffer; a page that decodes must
// encode back into a page that decodes to the same records.
#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/files/kmf_header.h"
#include "runtime/files/kmf_page.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace rk::kmf;
  size_t classBytes = size / 256 * 256;
  if (classBytes == 0 || classBytes > kMaxPageBytes) return 0;
  Page page;
  std::string problem;
  if (!DecodePage(data, classBytes, page, problem)) return 0;
  if (SizeBound(page) > 0xFFFF) return 0;
  std::string image = EncodePageImage(page);
  if (image.size() > kMaxPageBytes) return 0;
  FinishPage(image, 0x200);
  Page again;
  if (!DecodePage(reinterpret_cast<const uint8_t*>(image.data()), image.size(), again, problem) ||
      again.records != page.records || again.children != page.children) {
    __builtin_trap();
  }
  return 0;
}
