// The one road of every file operation: the caller names the operation by its
// code and hands over the object; the object's entry function runs it. A driver's
// entry function hands each call to DispatchFileOperation, which applies the
// precondition table, runs the driver's handler, moves the state bits and posts
// the outcome as the process-wide error state.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "runtime/files/file_descriptor.h"
#include "runtime/files/file_driver.h"

namespace rk {

// Calls the object's entry function. Texts the code takes are on the value stack
// (pushed by the caller); a text result is pushed there. Returns the number result.
int32_t CallFileOperation(int32_t code, FileObject& object, const intptr_t* args = nullptr);

// The common body of every driver's entry function.
int32_t DispatchFileOperation(const FileDriver& driver, int32_t code, FileObject* object,
                              const intptr_t* args);

// How many calls with that operation code the drivers have been handed since
// the program started (all threads, all files): what tests and benchmarks
// count as records read. 0 for a code outside the table.
uint64_t DriverCalls(int32_t code);

// Fault injection for tests: while a fault is set, every driver call asks it
// first, and a non-zero answer is posted as that call's error without the
// driver running. Pass an empty function to remove it.
using DriverFault = std::function<int32_t(int32_t code, const FileDescriptor& file)>;
void SetDriverFault(DriverFault fault);

// For tests that follow what a procedure asks of its files: while set, every
// driver call is shown to the watch with its first text argument (SEND's
// option, for one), empty for codes that take none. Pass an empty function to
// remove it.
using DriverCallWatch =
    std::function<void(int32_t code, const FileDescriptor& file, const std::string& text)>;
void SetDriverCallWatch(DriverCallWatch watch);

// For tools that must know what a call achieved, not only that it was asked:
// while set, every driver call is shown to it once it has run, with the error
// it answers (0 when it succeeded), injected faults and refused preconditions
// included. Pass an empty function to remove it.
using DriverCallDone = std::function<void(int32_t code, const FileDescriptor& file, int32_t error)>;
void SetDriverCallDone(DriverCallDone done);

// Posts a file error: ERRORCODE, the error name (the object's name) and ERRORFILE.
// A code of -1 leaves the error state alone; 0 posts the OS last error as 300 + n.
void PostFileError(int32_t code, FileObject* object, std::string_view name);
// Clears ERRORCODE, the error name and ERRORFILE.
void ClearFileError();
// The object named by the last posted file error, or null.
FileObject* ErrorFile();

// Discards a file's state block (the driver's part included).
void DiscardFileState(FileDescriptor& file);

}  // namespace rk
