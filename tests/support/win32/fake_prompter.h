// A prompt routine for the Windows tests: records every message box, save
// dialog, folder chooser and report window the program asks for, answers
// each from a script, and lets the test thread wait for a question to come.
// Safe to call from any thread.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/win32/prompter.h"

namespace twinseek::testing {

struct PromptRecord {
  enum class Kind { kMessage, kSaveFile, kFolder, kReport };
  Kind kind = Kind::kMessage;
  HWND owner = nullptr;
  std::string text;              // message text, report text, folder chooser title
  std::string caption;           // message caption as given (empty: the application title)
  UINT type = 0;                 // message box type flags
  SaveFileRequest save_request;  // for kSaveFile
  std::string folder;            // for kFolder: the path offered for preselection
  DWORD thread = 0;              // the thread that asked
};

class FakePrompter final : public Prompter {
 public:
  // Answers, each used once, in order. A message without a queued answer is
  // answered IDOK (with MB_OK) or IDNO (with MB_YESNO); a save dialog or a
  // folder chooser without one is cancelled.
  void QueueMessageAnswer(int answer);
  void QueueSavePath(std::string path);
  void QueueFolder(std::string path);

  int ShowMessage(HWND owner, std::string_view text, std::string_view caption, UINT type) override;
  std::optional<std::string> ChooseSaveFile(HWND owner, const SaveFileRequest& request) override;
  bool ChooseFolder(HWND owner, std::string& path, std::string_view title) override;
  void ShowReport(HWND owner, std::string_view text) override;

  std::vector<PromptRecord> Records() const;
  // The texts of the message boxes asked so far, in order.
  std::vector<std::string> MessageTexts() const;
  void Clear();
  // Waits until at least count records exist; false after timeout_ms.
  bool WaitForRecords(size_t count, DWORD timeout_ms = 30000) const;

 private:
  void Add(PromptRecord record);

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<PromptRecord> records_;
  std::deque<int> message_answers_;
  std::deque<std::string> save_paths_;
  std::deque<std::string> folders_;
};

}  // namespace twinseek::testing
