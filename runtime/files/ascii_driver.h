// The ASCII driver: line-oriented text files through the file interface, one
// line per record. The entry through which the dispatcher hands it every
// operation, and the registration record that names it.
#pragma once

#include <cstdint>

#include "runtime/files/file_descriptor.h"
#include "runtime/files/file_driver.h"

namespace rk {

int32_t AsciiEntry(int32_t code, FileObject* object, const intptr_t* args);
const DriverRegistration& AsciiRegistration();
const FileDriver& AsciiDriver();

}  // namespace rk
