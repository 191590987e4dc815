#include "scan/detection_run.h"

#include <charconv>
#include <optional>
#include <utility>

#include "tree/marks.h"

namespace twinseek {

namespace {

// Room for the longest key of the usual conditions, so that the key buffer
// rarely grows during a run.
constexpr size_t kKeyReserve = 512;

void AddPathLine(std::string& error_log, std::string_view head, std::string_view path) {
  error_log += head;
  error_log += '(';
  error_log += path;
  error_log += ")\r\n";
}

}  // namespace

std::string NewDuplicatesMessage(int count) {
  char digits[16];
  const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, count);
  std::string text = "あらたに";
  text.append(digits, end.ptr);
  text += "個のファイルに重複の可能性があります。";
  return text;
}

DetectionRun::DetectionRun(const DetectionSetup& setup) : setup_(setup) { key_.reserve(kKeyReserve); }

DetectionResult DetectionRun::Run(const ScanList& scan_list, const std::atomic<int>& cancel) {
  result_ = DetectionResult{};
  std::optional<ChecksumAhead> checksums;
  if (setup_.conditions.checksum) {
    checksums.emplace(setup_.file_system, setup_.load_limit_kb, scan_list, cancel,
                      ChecksumAhead::DefaultHelpers());
  }
  if (setup_.view) setup_.view->BeginProgress(scan_list.size());
  for (size_t position = 0; position < scan_list.size(); ++position) {
    if (cancel.load() != 0) break;
    if (setup_.view) setup_.view->SetProgress(position);
    ScanFile(scan_list[position], position, checksums ? &*checksums : nullptr);
  }
  checksums.reset();
  SummarizeGroups();
  if (setup_.view) setup_.view->EndProgress();
  if (cancel.load() != 0) {
    result_.interrupted = true;
    result_.error_log += "重複検査はユーザーの指示で中断されました。\r\n";
  }
  Conclude();
  return std::move(result_);
}

void DetectionRun::ScanFile(const ScanItem& item, size_t position, ChecksumAhead* checksums) {
  const std::string_view path = item.path;
  std::optional<DirEntry> read;
  if (!item.entry) read = setup_.file_system.GetEntry(path);
  const DirEntry* entry = item.entry ? &*item.entry : read ? &*read : nullptr;
  if (!entry) {
    AddPathLine(result_.error_log, "情報の取得ができません", path);
    return;
  }
  if (!entry->name_representable) {
    AddPathLine(result_.error_log, "ファイル名を扱えません", path);
    return;
  }
  if (entry->IsDirectory()) {
    AddPathLine(result_.error_log, "ﾃﾞｨﾚｸﾄﾘは指定できません", path);
    return;
  }
  std::optional<uint32_t> checksum = 0;
  if (checksums) checksum = checksums->Take(position, result_.error_log);
  // A file whose content nobody could read matches nothing: it is left out
  // like one whose entry cannot be read (its error lines tell why).
  if (!checksum) return;
  BuildDuplicateKey(path, *entry, setup_.conditions, *checksum, setup_.plugins, key_, result_.error_log);
  const Registration registration =
      setup_.index.Register(key_, path, setup_.tree, setup_.file_system, entry->identity);
  if (registration == Registration::kGroupOpened || registration == Registration::kAppended) {
    ++result_.new_duplicates;
  }
}

void DetectionRun::SummarizeGroups() {
  ResultTree& tree = setup_.tree;
  for (NodeHandle group = tree.FirstGroup(); group != kNoNode; group = tree.Next(group)) {
    UpdateGroupSummary(tree, group);
  }
}

void DetectionRun::Conclude() {
  UserPrompt* prompt = setup_.prompt;
  if (prompt == nullptr) return;
  if (!result_.error_log.empty() &&
      prompt->Ask("エラー情報がありました。確認しますか？", MessageButtons::kYesNo,
                  MessageIcon::kExclamation) == MessageAnswer::kYes) {
    prompt->ShowReport(result_.error_log);
  }
  if (result_.new_duplicates > 0) {
    prompt->Ask(NewDuplicatesMessage(result_.new_duplicates), MessageButtons::kOk, MessageIcon::kInformation);
  } else {
    prompt->Ask(kNoNewDuplicatesMessage, MessageButtons::kOk, MessageIcon::kExclamation);
  }
}

}  // namespace twinseek
