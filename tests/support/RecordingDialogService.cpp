#include "tests/support/RecordingDialogService.h"

#include <gtest/gtest.h>

TRecordingDialogService::TRecordingDialogService() : FPrevious(SetDialogService(this)) {}

TRecordingDialogService::~TRecordingDialogService() {
  SetDialogService(FPrevious);
  // An answer left over means a box or dialog the test counted on never came.
  if (!FBoxAnswers.empty()) ADD_FAILURE() << FBoxAnswers.size() << " expected message box(es) never shown";
  if (!FOpenFileAnswers.empty())
    ADD_FAILURE() << FOpenFileAnswers.size() << " expected open dialog(s) never shown";
  if (!FFolderAnswers.empty())
    ADD_FAILURE() << FFolderAnswers.size() << " expected folder browser(s) never shown";
}

void TRecordingDialogService::ExpectBox(int modalResult) { FBoxAnswers.push_back(modalResult); }

void TRecordingDialogService::ExpectOpenFile(bool accept, const std::string& fileName) {
  FOpenFileAnswers.push_back({accept, fileName});
}

void TRecordingDialogService::ExpectBrowseForFolder(bool accept, const std::string& folder) {
  FFolderAnswers.push_back({accept, folder});
}

std::vector<std::string> TRecordingDialogService::BoxTexts() const {
  std::vector<std::string> texts;
  for (const TRecordedBox& box : FBoxes) texts.push_back(box.Text);
  return texts;
}

int TRecordingDialogService::PendingAnswers() const {
  return static_cast<int>(FBoxAnswers.size() + FOpenFileAnswers.size() + FFolderAnswers.size());
}

int TRecordingDialogService::ShowMessageBox(const std::string& caption, const std::string& text,
                                            TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) {
  FBoxes.push_back({caption, text, type, buttons, helpContext});
  if (FBoxAnswers.empty()) {
    ADD_FAILURE() << "unexpected message box \"" << caption << "\": " << text;
    return mrNone;
  }
  const int answer = FBoxAnswers.front();
  FBoxAnswers.pop_front();
  return answer;
}

bool TRecordingDialogService::OpenFileDialog(TOpenFileRequest& request) {
  FOpenFileRequests.push_back(request);
  if (FOpenFileAnswers.empty()) {
    ADD_FAILURE() << "unexpected open dialog \"" << request.Title << "\"";
    return false;
  }
  const TAnswer answer = FOpenFileAnswers.front();
  FOpenFileAnswers.pop_front();
  if (answer.Accept) request.FileName = answer.Value;
  return answer.Accept;
}

bool TRecordingDialogService::BrowseForFolder(TBrowseFolderRequest& request) {
  FFolderRequests.push_back(request);
  if (FFolderAnswers.empty()) {
    ADD_FAILURE() << "unexpected folder browser \"" << request.Title << "\"";
    return false;
  }
  const TAnswer answer = FFolderAnswers.front();
  FFolderAnswers.pop_front();
  if (answer.Accept) request.Folder = answer.Value;
  return answer.Accept;
}

void TRecordingDialogService::Beep(unsigned type) { FBeeps.push_back(type); }
