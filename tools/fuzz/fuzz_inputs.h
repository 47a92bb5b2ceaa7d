// The fuzz targets: each takes any bytes and must answer or refuse them, never
// crash, read outside what it was given, or break its own round trip (a broken
// invariant traps). libfuzzer_main.cpp makes one libFuzzer program of each; the
// test suite replays every input kept in tests/fuzz/<target>/ through them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace rk::fuzz {

int KmfPageInput(const uint8_t* data, size_t size);      // kmf_page
int KmfFileInput(const uint8_t* data, size_t size);      // kmf_file
int DefinitionInput(const uint8_t* data, size_t size);   // definition
int PictureInput(const uint8_t* data, size_t size);      // picture
int ExpressionInput(const uint8_t* data, size_t size);   // expression
int ListFormatInput(const uint8_t* data, size_t size);   // list_format
int EnvironmentInput(const uint8_t* data, size_t size);  // environment
int AsciiDriverInput(const uint8_t* data, size_t size);  // ascii_driver
int PageFileInput(const uint8_t* data, size_t size);     // page_file

// A folder of this process for the targets that need their input as a file; on
// a memory file system when the machine has one, so that a run does not wear
// the disk.
std::filesystem::path ScratchFolder();

// Stops the process in a way every fuzzer and the test runner report as a crash.
[[noreturn]] inline void Broken() {
  __builtin_trap();
}

}  // namespace rk::fuzz
