#include "support/win32/fake_prompter.h"

namespace twinseek::testing {

void FakePrompter::QueueMessageAnswer(int answer) {
  std::lock_guard lock(mutex_);
  message_answers_.push_back(answer);
}

void FakePrompter::QueueSavePath(std::string path) {
  std::lock_guard lock(mutex_);
  save_paths_.push_back(std::move(path));
}

void FakePrompter::QueueFolder(std::string path) {
  std::lock_guard lock(mutex_);
  folders_.push_back(std::move(path));
}

void FakePrompter::Add(PromptRecord record) {
  record.thread = GetCurrentThreadId();
  {
    std::lock_guard lock(mutex_);
    records_.push_back(std::move(record));
  }
  changed_.notify_all();
}

int FakePrompter::ShowMessage(HWND owner, std::string_view text, std::string_view caption, UINT type) {
  int answer = (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
  {
    std::lock_guard lock(mutex_);
    if (!message_answers_.empty()) {
      answer = message_answers_.front();
      message_answers_.pop_front();
    }
  }
  PromptRecord record;
  record.kind = PromptRecord::Kind::kMessage;
  record.owner = owner;
  record.text = text;
  record.caption = caption;
  record.type = type;
  Add(std::move(record));
  return answer;
}

std::optional<std::string> FakePrompter::ChooseSaveFile(HWND owner, const SaveFileRequest& request) {
  std::optional<std::string> path;
  {
    std::lock_guard lock(mutex_);
    if (!save_paths_.empty()) {
      path = save_paths_.front();
      save_paths_.pop_front();
    }
  }
  PromptRecord record;
  record.kind = PromptRecord::Kind::kSaveFile;
  record.owner = owner;
  record.save_request = request;
  Add(std::move(record));
  return path;
}

bool FakePrompter::ChooseFolder(HWND owner, std::string& path, std::string_view title) {
  std::optional<std::string> chosen;
  {
    std::lock_guard lock(mutex_);
    if (!folders_.empty()) {
      chosen = folders_.front();
      folders_.pop_front();
    }
  }
  PromptRecord record;
  record.kind = PromptRecord::Kind::kFolder;
  record.owner = owner;
  record.text = title;
  record.folder = path;
  Add(std::move(record));
  if (!chosen) return false;
  path = *chosen;
  return true;
}

void FakePrompter::ShowReport(HWND owner, std::string_view text) {
  PromptRecord record;
  record.kind = PromptRecord::Kind::kReport;
  record.owner = owner;
  record.text = text;
  Add(std::move(record));
}

std::vector<PromptRecord> FakePrompter::Records() const {
  std::lock_guard lock(mutex_);
  return records_;
}

std::vector<std::string> FakePrompter::MessageTexts() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> texts;
  for (const PromptRecord& record : records_) {
    if (record.kind == PromptRecord::Kind::kMessage) texts.push_back(record.text);
  }
  return texts;
}

void FakePrompter::Clear() {
  std::lock_guard lock(mutex_);
  records_.clear();
}

bool FakePrompter::WaitForRecords(size_t count, DWORD timeout_ms) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                           [&] { return records_.size() >= count; });
}

}  // namespace twinseek::testing
