#include "app/standard_messages.h"

#include "app/program_halt.h"
#include "runtime/core/clipped_text.h"
#include "runtime/core/error_state.h"
#include "runtime/core/value_stack.h"
#include "runtime/windows/message_box.h"

namespace rk {
namespace {

constexpr int32_t kOk = kButtonOk;
constexpr int32_t kYesNo = kButtonYes | kButtonNo;
constexpr int32_t kYesNoCancel = kButtonYes | kButtonNo | kButtonCancel;
constexpr int32_t kOkCancel = kButtonOk | kButtonCancel;
constexpr int32_t kRetryCancel = kButtonRetry | kButtonCancel;

constexpr char kEndsApplication[] = ".  Press OK to end this application.";

StandardMessage Warning(std::string title, std::string text, int32_t buttons = kOk,
                        int32_t defaultButton = 0) {
  return {
      std::move(title), std::move(text), MessageIcon::kExclamation, buttons, defaultButton, {}, 0};
}

StandardMessage Question(std::string title, std::string text, int32_t buttons,
                         int32_t defaultButton) {
  return {std::move(title), std::move(text), MessageIcon::kQuestion, buttons, defaultButton, {}, 0};
}

StandardMessage Fatal(std::string title, std::string text, std::string haltText) {
  StandardMessage message = Warning(std::move(title), std::move(text));
  message.haltText = std::move(haltText);
  return message;
}

std::string InvalidRequest(std::string_view what, std::string_view which) {
  return "This procedure was called to " + std::string(what) + " a record, however " +
         std::string(which) +
         " are not allowed for this procedure.  Press OK to return to the calling procedure";
}

}  // namespace

std::string LastErrorText() {
  int32_t code = ErrorCode();
  if (code == 0) return {};
  std::string text = std::string(ClipRight(MessageText(code))) + " (" + std::to_string(code) + ")";
  if (text.size() > kErrorTextLimit) text.resize(kErrorTextLimit);
  return text;
}

StandardMessage ComposeStandardMessage(int32_t number, const MessageArguments& arguments,
                                       std::string_view errorText) {
  const std::string a1(ClipRight(arguments.a1));
  const std::string a2(ClipRight(arguments.a2));
  const std::string a3(ClipRight(arguments.a3));
  const std::string error(errorText);
  switch (number) {
    case 1:
      return Fatal("Invalid File", "Error: (" + error + ") accessing " + a1 + kEndsApplication,
                   "Invalid File!");
    case 2: {
      StandardMessage message =
          Question("Invalid Key", a1 + " key file is invalid.  Do you want to rebuild the key?",
                   kYesNo, kButtonYes);
      message.haltText = "Invalid Key!";
      message.haltUnlessButton = kButtonYes;
      return message;
    }
    case 3:
      return Fatal("Key Rebuild Error",
                   "Error: (" + error + ") repairing key for " + a1 + kEndsApplication,
                   "Error Rebuilding Key!");
    case 4:
      return Fatal("File Creation Error",
                   "Error: (" + error + ") creating " + a1 + kEndsApplication,
                   "File Creation Error!");
    case 5:
      return Fatal("File Creation Error",
                   "Error: (" + error + ") opening created file:" + a1 + kEndsApplication,
                   "File Creation Error!");
    case 6:
      return Warning("Procedure not defined", "The Procedure " + a1 + " has not been defined.");
    case 7:
      return Warning("", "Unable to read keyed record.  Error: " + error + ".  Insert Aborted");
    case 8:
      return Warning("Range Error", "The value of " + a1 + " must be lower than " + a2 + ".");
    case 9:
      return Warning("Range Error", "The value of " + a1 + " must be higher than " + a2 + ".");
    case 10:
      return Warning("Range Error",
                     "The value of " + a1 + " must be between " + a2 + " and " + a3 + ".");
    case 11:
      return Warning("Field Contents Error",
                     "The value for " + a1 + " must be found in the " + a2 + " file.");
    case 12:
      return Warning("Referential Integrity Update Error",
                     "This record is referenced from the file " + a1 +
                         ".  Linking field(s) have been restricted from change and have been "
                         "reset to original values.");
    case 13:
      return Warning("Referential Integrity Delete Error",
                     "This record is referenced from the file " + a1 +
                         ".  This record cannot be deleted while these references exist.");
    case 14:
      return Warning(
          "Record Insert Error",
          "An error was experienced during the update of record.  Error: " + error + ".");
    case 15:
      return Warning("Update Operation Error",
                     error.empty() ? "This record was changed by another station."
                                   : "An error (" + error +
                                         ") was experienced when attempting to update a record "
                                         "from the file.  Probable Cause: " +
                                         a1 + ".");
    case 16:
      return Warning("Record Update Error",
                     "An error was experienced changing this record.  Do you want to try to save "
                     "again?",
                     kYesNoCancel, kButtonCancel);
    case 17:
      return Warning("Delete Operation Error",
                     "An error (" + error +
                         ") was experienced when attempting to delete a record from the file " +
                         a1 + ".");
    case 18:
      return Warning("Record Update Error",
                     "An error was experienced deleting this record.  Do you want to try to save "
                     "again?",
                     kYesNoCancel, kButtonCancel);
    case 19:
      return Warning("Invalid Request", InvalidRequest("insert", "inserts"));
    case 20:
      return Warning("Invalid Request", InvalidRequest("change", "changes"));
    case 21:
      return Warning("Invalid Request", InvalidRequest("delete", "deletions"));
    case 22:
      return Fatal("File Creation Not Allowed",
                   "The File " + a1 +
                       "was not found, and creation of the file is not allowed.  Press OK to end "
                       "this application.",
                   "File Creation Error!");
    case 23:
      return Question("Update Cancelled", "Are you sure you want to cancel?", kYesNo, kButtonNo);
    case 24:
      return Warning("Duplicate Key Error",
                     "Adding this record creates a duplicate entry for the key:" + a1);
    case 25:
      return Warning(
          "Auto Increment Error",
          "Attempts to automatically number this record have failed.  Error: " + error + ".",
          kRetryCancel, kButtonCancel);
    case 26:
      return Warning("File Load Error", a1 + " File Load Error.  Error: " + error + ".");
    case 27:
      return Question("Cancel Request", "Are you certain you want to stop loading " + a1 + "?",
                      kOkCancel, kButtonCancel);
    case 28:
      return Warning("File Load Error",
                     a1 + " File Load Error.  The file you've requested contains no text.");
    case 29:
      return a1 == "Down"
                 ? Question("End of File Error",
                            "The end of the viewed file was encountered.  Do you want to start "
                            "again from the beginning?",
                            kYesNo, kButtonYes)
                 : Question("Beginning of File Error",
                            "The beginning of the viewed file was encountered.  Do you want to "
                            "start again from the end of the file?",
                            kYesNo, kButtonYes);
    case 30:
      return Warning("File Access Error",
                     "File (" + a1 + ") could not be opened.  Error: " + error + ".");
    case 31:
      return Warning("Process PUT Error", "An error was experienced when making changes to the " +
                                              a1 + " file.  Error: " + error);
    case 32:
      return Question("Confirm Delete",
                      "You've selected to delete the highlighted record.  Press OK to confirm "
                      "deletion of this record.",
                      kOkCancel, kButtonCancel);
    case 33:
      return Question("Update Cancelled", "Do you want to save the changes to this record?",
                      kYesNoCancel, kButtonNo);
    case 34:
      return Warning("Transaction Framing Error",
                     "Error: (" + error + ") attempting to frame the " + a1 + " transaction on " +
                         a2 + ".  " + a1 + " transaction cancelled.");
    case 35:
      return Warning("Record Retrieval Error", "Error: (" + error +
                                                   ") attempting to access a record from the " +
                                                   a1 + " file.  returning to previous window.");
    default:
      return {};
  }
}

int32_t SHOWMESSAGE(int32_t number) {
  MessageArguments arguments;
  arguments.a1 = Values().PopString();
  arguments.a2 = Values().PopString();
  arguments.a3 = Values().PopString();
  arguments.a4 = Values().PopString();
  StandardMessage message = ComposeStandardMessage(number, arguments, LastErrorText());
  if (message.text.empty()) return 0;
  const char* icon = message.icon == MessageIcon::kQuestion ? "Question" : "Exclamation";
  int32_t button =
      MESSAGE(message.text, message.title, icon, message.buttons, message.defaultButton);
  if (!message.haltText.empty() &&
      (message.haltUnlessButton == 0 || button != message.haltUnlessButton)) {
    HaltProgram(message.haltText);
  }
  return button;
}

int32_t SHOWMESSAGE(int32_t number, std::string_view a1, std::string_view a2, std::string_view a3,
                    std::string_view a4) {
  Values().PushCopy(a4);
  Values().PushCopy(a3);
  Values().PushCopy(a2);
  Values().PushCopy(a1);
  return SHOWMESSAGE(number);
}

}  // namespace rk
