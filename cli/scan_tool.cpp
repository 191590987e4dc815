#include "cli/scan_tool.h"

#include <atomic>
#include <charconv>
#include <ctime>
#include <optional>
#include <string_view>

#include "base/file_system.h"
#include "base/utf8_text.h"
#include "report/tree_report.h"
#include "scan/detection_run.h"
#include "scan/duplicate_key.h"
#include "scan/enumeration.h"
#include "scan/key_index.h"
#include "scan/name_patterns.h"
#include "tree/exclusion.h"
#include "tree/memory_result_tree.h"

namespace twinseek {

namespace {

constexpr std::string_view kHelp =
    "使い方: twinseek-scan [オプション] フォルダ...\r\n"
    "フォルダを順に検索し、重複の可能性があるファイルのグループを出力します。\r\n"
    "\r\n"
    "重複条件 (どれも指定しなければ --size --date):\r\n"
    "  --name            名前\r\n"
    "  --ext             拡張子\r\n"
    "  --size            サイズ\r\n"
    "  --date            更新日\r\n"
    "  --crc             CRC16 (内容の CRC-32)\r\n"
    "  --plugin N        定義N (TOOLN.DLL、N は 1 から 3。Windows のみ)\r\n"
    "検索条件:\r\n"
    "  --pattern 名前    ファイル名のパターン (既定 *.*、; で区切って複数)\r\n"
    "  --no-subfolders   サブフォルダを検索しない\r\n"
    "  --from 日付       更新日の開始 (YYYY-MM-DD)\r\n"
    "  --to 日付         更新日の終了 (YYYY-MM-DD、その日の終わりまで)\r\n"
    "  --min バイト      最小サイズ\r\n"
    "  --max バイト      最大サイズ\r\n"
    "その他:\r\n"
    "  --load-limit KB   これより大きいファイルは CRC16 検査をしない (0: 制限なし)\r\n"
    "  --unique          非重複も表示する\r\n"
    "  --utf8            出力を UTF-8 にする (既定はコードページ 932 のまま)\r\n"
    "  --help            この説明\r\n"
    "\r\n"
    "標準出力: グループごとに \"*\" とキーの行、続いてファイルのパスの行。\r\n"
    "標準エラー: エラー情報。終了コード: 成功 0、引数やフォルダの誤り 2。\r\n";

struct ScanToolOptions {
  Conditions conditions;
  bool any_condition_given = false;
  std::string name_patterns = "*.*";
  bool include_subfolders = true;
  std::optional<LocalTime> from;
  std::optional<LocalTime> to;
  std::optional<uint32_t> minimum_size;
  std::optional<uint32_t> maximum_size;
  uint32_t load_limit_kb = 0;
  bool unique = false;
  bool utf8 = false;
  bool help = false;
  std::vector<std::string> folders;
};

std::optional<uint32_t> ParseUnsigned(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// "YYYY-MM-DD" (or with "/"), at 00:00:00.
std::optional<LocalTime> ParseDate(std::string_view text) {
  if (text.size() != 10 || (text[4] != '-' && text[4] != '/') || text[7] != text[4]) return std::nullopt;
  const std::optional<uint32_t> year = ParseUnsigned(text.substr(0, 4));
  const std::optional<uint32_t> month = ParseUnsigned(text.substr(5, 2));
  const std::optional<uint32_t> day = ParseUnsigned(text.substr(8, 2));
  if (!year || !month || !day || *year < 1601 || *month < 1 || *month > 12 || *day < 1) return std::nullopt;
  static constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (*year % 4 == 0 && *year % 100 != 0) || *year % 400 == 0;
  const int days = *month == 2 && !leap ? 28 : kDaysInMonth[*month - 1];
  if (static_cast<int>(*day) > days) return std::nullopt;
  return LocalTime{static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day), 0, 0, 0, 0};
}

// Reads the options; on a mistake returns its one-line message.
std::optional<std::string> ParseOptions(const std::vector<std::string>& arguments, ScanToolOptions& options) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= arguments.size()) return std::nullopt;
      return arguments[++i];
    };
    const auto condition = [&](bool& field) {
      field = true;
      options.any_condition_given = true;
    };
    if (argument == "--name") {
      condition(options.conditions.name);
    } else if (argument == "--ext") {
      condition(options.conditions.extension);
    } else if (argument == "--size") {
      condition(options.conditions.size);
    } else if (argument == "--date") {
      condition(options.conditions.date);
    } else if (argument == "--crc") {
      condition(options.conditions.checksum);
    } else if (argument == "--no-subfolders") {
      options.include_subfolders = false;
    } else if (argument == "--unique") {
      options.unique = true;
    } else if (argument == "--utf8") {
      options.utf8 = true;
    } else if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--plugin" || argument == "--pattern" || argument == "--from" ||
               argument == "--to" || argument == "--min" || argument == "--max" ||
               argument == "--load-limit") {
      const std::optional<std::string> text = value();
      if (!text) return "オプションの値がありません: " + argument;
      if (argument == "--pattern") {
        options.name_patterns = *text;
      } else if (argument == "--from" || argument == "--to") {
        const std::optional<LocalTime> date = ParseDate(*text);
        if (!date) return "日付は YYYY-MM-DD の形で指定してください。(" + *text + ")";
        (argument == "--from" ? options.from : options.to) = date;
      } else {
        const std::optional<uint32_t> number = ParseUnsigned(*text);
        if (!number) return "正の整数を入力してください。(" + argument + " " + *text + ")";
        if (argument == "--plugin") {
          if (*number < 1 || *number > kPluginSlotCount)
            return "定義は 1 から 3 で指定してください。(" + *text + ")";
          condition(options.conditions.plugins[*number - 1]);
        } else if (argument == "--min") {
          options.minimum_size = number;
        } else if (argument == "--max") {
          options.maximum_size = number;
        } else {
          options.load_limit_kb = *number;
        }
      }
    } else if (argument.size() > 1 && argument[0] == '-') {
      return "不明なオプションです: " + argument;
    } else {
      options.folders.push_back(argument);
    }
  }
  if (!options.any_condition_given) options.conditions = DefaultConditions();
  return std::nullopt;
}

LocalTime Today() {
  const auto seconds = static_cast<FileTime>(std::time(nullptr));
  return ToLocalTime((seconds + 11'644'473'600u) * 10'000'000u);
}

void FillCriteria(const ScanToolOptions& options, ScanCriteria& criteria) {
  criteria.name_patterns = options.name_patterns;
  criteria.include_subfolders = options.include_subfolders;
  criteria.start_date_enabled = options.from.has_value();
  if (options.from) criteria.start_date = *options.from;
  criteria.end_date_enabled = options.to.has_value();
  if (options.to) criteria.end_date = *options.to;
  criteria.minimum_size_enabled = options.minimum_size.has_value();
  criteria.minimum_size = options.minimum_size.value_or(0);
  criteria.maximum_size_enabled = options.maximum_size.has_value();
  criteria.maximum_size = options.maximum_size.value_or(0);
}

// Everything the tool writes goes through here: code page 932 as it is, or
// UTF-8 for a terminal.
class Writer {
 public:
  Writer(bool utf8, ScanToolOutput& output) : utf8_(utf8), output_(output) {}
  void Out(std::string_view text) { Append(output_.out, text); }
  void Err(std::string_view text) { Append(output_.err, text); }
  int Fail(std::string_view message) {
    Err(message);
    Err("\r\n");
    return kScanToolUsageError;
  }

 private:
  void Append(std::string& to, std::string_view text) {
    if (!utf8_) {
      to += text;
      return;
    }
    const std::optional<std::string> converted = Cp932ToUtf8(text);
    to += converted ? *converted : std::string(text);
  }

  bool utf8_;
  ScanToolOutput& output_;
};

bool IsFolder(FileSystem& file_system, const std::string& path) {
  const std::optional<uint32_t> attributes = file_system.GetAttributes(path);
  return attributes && (*attributes & kAttributeDirectory) != 0;
}

}  // namespace

int RunScanTool(const std::vector<std::string>& arguments, PluginLoader* plugin_loader,
                ScanToolOutput& output) {
  ScanToolOptions options;
  const std::optional<std::string> mistake = ParseOptions(arguments, options);
  Writer writer(options.utf8, output);
  if (mistake) return writer.Fail(*mistake);
  if (options.help) {
    writer.Out(kHelp);
    return kScanToolSuccess;
  }
  if (options.folders.empty()) return writer.Fail("検索するフォルダを指定してください。(--help で使い方)");
  options.name_patterns = NormalizeNamePatterns(options.name_patterns);
  if (HasForbiddenPatternCharacter(options.name_patterns)) {
    std::string message(kForbiddenPatternMessage);
    message.erase(message.find("\r\n"), 2);
    return writer.Fail(message);
  }
  FileSystem& file_system = SystemFileSystem();
  // Absolute from here on: the paths printed never depend on the folder the
  // tool was started in.
  for (std::string& folder : options.folders) {
    const std::optional<std::string> full = FullPath(folder);
    if (!full || !IsFolder(file_system, *full)) {
      return writer.Fail("不正な検索フォルダが指定されているか、使用できない状態です。(" + folder + ")");
    }
    folder = *full;
  }

  PluginSlots plugins;
  if (options.conditions.AnyPlugin()) {
    if (plugin_loader != nullptr) plugins.LoadAll(*plugin_loader);
    for (int slot = 1; slot <= kPluginSlotCount; ++slot) {
      if (options.conditions.plugins[slot - 1] && !plugins.Loaded(slot)) {
        return writer.Fail("定義" + std::to_string(slot) + "のプラグイン(TOOL" + std::to_string(slot) +
                           ".DLL)を読み込めません。");
      }
    }
    plugins.PrepareFirstScan(options.conditions.plugins);
  }

  MemoryResultTree tree;
  KeyIndex index;
  const std::atomic<int> cancel{0};
  const LocalTime today = Today();
  for (const std::string& folder : options.folders) {
    ScanCriteria criteria(folder, today);
    FillCriteria(options, criteria);
    ScanList scan_list;
    criteria.output = &scan_list;
    EnumerateFolder(MakeEnumerationRequest(criteria, nullptr), file_system, nullptr);
    DetectionRun run(DetectionSetup{options.conditions, options.load_limit_kb, file_system, tree, index,
                                    plugins, nullptr, nullptr});
    writer.Err(run.Run(scan_list, cancel).error_log);
  }
  if (options.unique) ShowUniqueFiles(index, tree);
  writer.Out(BuildTreeReport(tree));
  return kScanToolSuccess;
}

}  // namespace twinseek
