// The KELDMARK driver: the entry through which the dispatcher hands every KMF
// operation to its handler, and the registration record that names it.
#pragma once

#include <cstdint>

#include "runtime/files/file_descriptor.h"
#include "runtime/files/file_driver.h"

namespace rk {

int32_t KmfEntry(int32_t code, FileObject* object, const intptr_t* args);
const DriverRegistration& KmfRegistration();
const FileDriver& KmfDriver();

}  // namespace rk
