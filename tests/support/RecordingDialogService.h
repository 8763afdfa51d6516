// A dialog service for tests: records every box and request, answers as the test queued, and fails
// the test on a box nobody expected.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/system/Dialogs.h"

struct TRecordedBox {
  std::string Caption;
  std::string Text;
  TMsgDlgType Type = mtCustom;
  TMsgDlgButtons Buttons;
  int HelpContext = 0;
};

// Installs itself on construction and puts the previous service back on destruction.
class TRecordingDialogService : public TDialogService {
 public:
  TRecordingDialogService();
  ~TRecordingDialogService() override;
  TRecordingDialogService(const TRecordingDialogService&) = delete;
  TRecordingDialogService& operator=(const TRecordingDialogService&) = delete;

  // Queues the answer of the next message box; a box with no queued answer fails the test.
  void ExpectBox(int modalResult = mrOk);
  // Queues the answer of the next open dialog: accepted with fileName, or cancelled.
  void ExpectOpenFile(bool accept, const std::string& fileName = "");
  // Queues the answer of the next folder browser: accepted with folder, or cancelled.
  void ExpectBrowseForFolder(bool accept, const std::string& folder = "");

  const std::vector<TRecordedBox>& Boxes() const { return FBoxes; }
  // The texts of the boxes shown, in order: the most common thing a test asserts.
  std::vector<std::string> BoxTexts() const;
  // The requests as the code under test made them (before any answer was filled in).
  const std::vector<TOpenFileRequest>& OpenFileRequests() const { return FOpenFileRequests; }
  const std::vector<TBrowseFolderRequest>& FolderRequests() const { return FFolderRequests; }
  const std::vector<unsigned>& Beeps() const { return FBeeps; }
  int BeepCount() const { return static_cast<int>(FBeeps.size()); }
  // Answers queued but not yet used.
  int PendingAnswers() const;

  int ShowMessageBox(const std::string& caption, const std::string& text, TMsgDlgType type,
                     TMsgDlgButtons buttons, int helpContext) override;
  bool OpenFileDialog(TOpenFileRequest& request) override;
  bool BrowseForFolder(TBrowseFolderRequest& request) override;
  void Beep(unsigned type) override;

 private:
  struct TAnswer {
    bool Accept;
    std::string Value;
  };

  TDialogService* FPrevious;
  std::deque<int> FBoxAnswers;
  std::deque<TAnswer> FOpenFileAnswers;
  std::deque<TAnswer> FFolderAnswers;
  std::vector<TRecordedBox> FBoxes;
  std::vector<TOpenFileRequest> FOpenFileRequests;
  std::vector<TBrowseFolderRequest> FFolderRequests;
  std::vector<unsigned> FBeeps;
};
