#include "platform/ui/NoScreen.h"

#include <cstdio>

#include "platform/system/CommandLine.h"
#include "platform/system/TerminationSignals.h"
#include "platform/ui/QtRuntime.h"

namespace {

bool GAnswerWithoutScreen = false;

// The box's kind as its caption names it; a custom box has no caption of its own.
std::string KindName(TMsgDlgType type) { return type == mtCustom ? "Message" : MsgDlgCaption(type); }

// Written in as few writes as a pipe takes whole, so that the block stays whole beside other output;
// a signal that comes while nobody reads standard error still ends the program.
void WriteError(const std::string& text) {
  std::fflush(stderr);
  WriteStandardError(text);
}

// The block a box writes: a line naming it, then its text, a line each, indented.
std::string MessageBlock(const std::string& programName, const std::string& caption, const std::string& text,
                         TMsgDlgType type) {
  std::string block = programName + ": " + KindName(type) + " box, caption \"" + caption + "\":\n";
  // The system ends its lines with CR LF.
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    block += line.empty() ? "\n" : "  " + line + "\n";
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return block;
}

}  // namespace

void AnswerWithoutScreen() { GAnswerWithoutScreen = true; }

bool NoScreen() { return GAnswerWithoutScreen && InvisiblePlatform(); }

int TNoScreenDialogService::ShowMessageBox(const std::string& caption, const std::string& text,
                                           TMsgDlgType type, TMsgDlgButtons buttons, int /*helpContext*/) {
  WriteError(MessageBlock(ProgramName(), caption, text, type));
  return ModalResultOf(DefaultButton(buttons));
}

bool TNoScreenDialogService::OpenFileDialog(TOpenFileRequest& request) {
  WriteError(ProgramName() + ": the open dialog \"" + request.Title +
             "\" needs a display; taken as cancelled\n");
  return false;
}

bool TNoScreenDialogService::BrowseForFolder(TBrowseFolderRequest& request) {
  WriteError(ProgramName() + ": the folder browser \"" + request.Title +
             "\" needs a display; taken as cancelled\n");
  return false;
}

void TNoScreenDialogService::Beep(unsigned /*type*/) {}
