#include "fileops/transfer.h"

#include <map>
#include <optional>
#include <set>
#include <utility>

#include "base/cp932.h"
#include "base/path_text.h"

namespace twinseek {

namespace {

// How many taken names one file may meet in a row before it is given up:
// names taken by others between the look and the move.
constexpr int kMaxAttempts = 100;

// The folder a move goes into, known by its identity as well as its text, so
// that "C:\Data", "c:\data\", "C:\Data\.\" and "C:\DATA~1" are one
// folder. The identities of the sources' folders are asked once per folder.
class Destination {
 public:
  Destination(FileSystem& file_system, std::string_view folder)
      : file_system_(file_system), folder_(folder), identity_(file_system.GetIdentity(folder)) {}

  std::string_view folder() const { return folder_; }

  // Whether the file at source already lies directly in the folder.
  bool Holds(std::string_view source) {
    const size_t separator = LastSeparator(source);
    if (separator == std::string_view::npos) return false;
    std::string_view own = folder_;
    if (EndsWithSeparator(own)) own.remove_suffix(1);
    if (EqualFolded(source.substr(0, separator), own)) return true;
    if (!identity_) return false;
    // With its separator, so that a root stays a root ("C:\", not "C:").
    const std::string source_folder(source.substr(0, separator + 1));
    auto known = source_folders_.find(source_folder);
    if (known == source_folders_.end()) {
      known = source_folders_.emplace(source_folder, file_system_.GetIdentity(source_folder)).first;
    }
    return known->second == identity_;
  }

 private:
  FileSystem& file_system_;
  std::string_view folder_;
  std::optional<FileIdentity> identity_;
  std::map<std::string, std::optional<FileIdentity>> source_folders_;
};

struct TransferResult {
  FileError error = FileError::kNone;
  bool in_destination = false;
};

TransferResult TransferOne(FileSystem& file_system, const std::string& source, Destination& destination,
                           TransferKind kind) {
  const size_t separator = LastSeparator(source);
  const std::string_view name = separator == std::string_view::npos
                                    ? std::string_view(source)
                                    : std::string_view(source).substr(separator + 1);
  if (name.empty()) return {FileError::kNotFound};
  if (kind == TransferKind::kMove && destination.Holds(source)) {
    // Already where it should go: moving it would only rename it.
    if (!file_system.GetAttributes(source)) return {FileError::kNotFound};
    return {FileError::kNone, true};
  }
  const std::string_view folder = destination.folder();
  const std::string prefix = WithSeparator(folder);
  std::set<std::string> refused;
  const auto taken = [&](const std::string& path) {
    return refused.count(path) != 0 || file_system.GetAttributes(path).has_value();
  };
  FileError error = FileError::kExists;
  for (int attempt = 0; attempt < kMaxAttempts && error == FileError::kExists; ++attempt) {
    const std::string target = prefix + FreeNameIn(folder, name, taken);
    error = kind == TransferKind::kMove ? file_system.MoveFileTo(source, target)
                                        : file_system.CopyFileTo(source, target);
    refused.insert(target);
  }
  return {error};
}

const char* Reason(const TransferFailure& failure, TransferKind kind) {
  if (failure.in_destination) return "移動先のフォルダにすでにあります";
  switch (failure.error) {
    case FileError::kNotFound:
      return "ファイルが見つかりません";
    case FileError::kAccessDenied:
      return "アクセスが拒否されました";
    case FileError::kInUse:
      return "他のプロセスが使用中です";
    case FileError::kDiskFull:
      return "ディスクの空き容量が足りません";
    case FileError::kExists:
      return "空いている名前が見つかりません";
    case FileError::kNone:
    case FileError::kOther:
      break;
  }
  return kind == TransferKind::kMove ? "移動できませんでした" : "コピーできませんでした";
}

}  // namespace

std::string FreeNameIn(std::string_view folder, std::string_view name,
                       const std::function<bool(const std::string& path)>& taken) {
  const std::string prefix = WithSeparator(folder);
  if (!taken(prefix + std::string(name))) return std::string(name);
  const auto [base, extension] = SplitName(name);
  for (uint64_t number = 2;; ++number) {
    std::string candidate(base);
    candidate += " (" + std::to_string(number) + ")";
    candidate += extension;
    if (!taken(prefix + candidate)) return candidate;
  }
}

TransferOutcome TransferFiles(FileSystem& file_system, const std::vector<std::string>& paths,
                              std::string_view folder, TransferKind kind, const TransferProgress& progress) {
  TransferOutcome outcome;
  Destination destination(file_system, folder);
  const size_t total = paths.size();
  for (size_t index = 0; index < total; ++index) {
    if (progress && !progress(index, total)) {
      outcome.cancelled = true;
      outcome.not_handled = total - index;
      return outcome;
    }
    const TransferResult result = TransferOne(file_system, paths[index], destination, kind);
    if (result.error == FileError::kNone && !result.in_destination) {
      outcome.done.push_back(paths[index]);
    } else {
      outcome.failed.push_back({paths[index], result.error, result.in_destination});
    }
  }
  if (progress) progress(total, total);
  return outcome;
}

std::string TransferFailureReport(const TransferOutcome& outcome, TransferKind kind) {
  std::string report;
  const bool move = kind == TransferKind::kMove;
  if (!outcome.failed.empty()) {
    report += std::to_string(outcome.failed.size());
    report +=
        move ? "個のファイルを移動できませんでした。\r\n" : "個のファイルをコピーできませんでした。\r\n";
    for (const TransferFailure& failure : outcome.failed) {
      report += failure.path;
      report += ": ";
      report += Reason(failure, kind);
      report += "\r\n";
    }
  }
  if (outcome.cancelled) {
    report += "ユーザーの指示で中断しました。";
    report += std::to_string(outcome.not_handled);
    report += move ? "個のファイルは移動していません。\r\n" : "個のファイルはコピーしていません。\r\n";
  }
  return report;
}

}  // namespace twinseek
