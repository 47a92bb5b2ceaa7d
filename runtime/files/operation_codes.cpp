#include "runtime/files/operation_codes.h"

namespace rk {

OperationShape ShapeOf(int32_t code) {
  switch (code) {
    case kOpGetByKey:
    case kOpPointerKey:
    case kOpRecordsKey:
    case kOpSetFileKey:
    case kOpSetKey:
    case kOpSetKeyKey:
    case kOpDuplicateKey:
      return {.takesKey = true};
    case kOpGetKeyPointer:
    case kOpSetKeyPointer:
    case kOpSetKeyKeyPointer:
      return {.takesKey = true, .numbers = 1};
    case kOpPositionKey:
      return {.takesKey = true, .textResult = true};
    case kOpResetKey:
    case kOpRegetKey:
      return {.takesKey = true, .texts = 1};
    case kOpGetByPointer:
    case kOpHoldSeconds:
    case kOpLockSeconds:
    case kOpOpen:
    case kOpSetFilePointer:
    case kOpShare:
    case kOpSkip:
    case kOpAddLength:
    case kOpPutPointer:
    case kOpAppendLength:
    case kOpBlobSize:
      return {.numbers = 1};
    case kOpGetPointerLength:
    case kOpPutPointerLength:
      return {.numbers = 2};
    case kOpRebuildThroughCopy:
    case kOpCopy:
    case kOpRename:
    case kOpResetFile:
    case kOpRegetFile:
      return {.texts = 1};
    case kOpTwoNames:
      return {.texts = 2};
    case kOpName:
    case kOpPositionFile:
      return {.textResult = true};
    case kOpSend:
      return {.texts = 1, .textResult = true};
    case kOpSetProperty:
      return {.numbers = 1, .texts = 1};
    case kOpGetProperty:  // pops a text too, like every property code
      return {.numbers = 1, .texts = 1, .textResult = true};
    case kOpBlobRead:
      return {.numbers = 3, .textResult = true};
    case kOpBlobWrite:
      return {.numbers = 3, .texts = 1};
    case kOpBlobSetProperty:
      return {.numbers = 2, .texts = 1};
    case kOpBlobGetProperty:
      return {.numbers = 2, .texts = 1, .textResult = true};
    default:
      return {};
  }
}

}  // namespace rk
