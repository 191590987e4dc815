#include "report/file_info_text.h"

#include <cstdio>
#include <memory>
#include <utility>

namespace twinseek {

namespace {

constexpr const char* kDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

struct AttributeLine {
  uint32_t bit;
  const char* line;
};

// The attribute lines, in the order the page lists them.
constexpr AttributeLine kAttributeLines[] = {
    {kAttributeArchive, "A アーカイブ\r\n"},
    {kAttributeReadOnly, "R 読込み専用\r\n"},
    {kAttributeHidden, "H 隠しファイル\r\n"},
    {kAttributeSystem, "S システム\r\n"},
    {0x100, "T テンポラリ\r\n"},  // FILE_ATTRIBUTE_TEMPORARY
};

char HexDigit(unsigned value) { return "0123456789ABCDEF"[value & 0xF]; }

void AppendDumpLine(const HeadBuffer& head, size_t offset, std::string& dump) {
  dump += HexDigit(static_cast<unsigned>(offset >> 12));
  dump += HexDigit(static_cast<unsigned>(offset >> 8));
  dump += HexDigit(static_cast<unsigned>(offset >> 4));
  dump += HexDigit(static_cast<unsigned>(offset));
  dump += " : ";
  for (size_t i = 0; i < 16; ++i) {
    const auto byte = static_cast<unsigned char>(head[offset + i]);
    dump += HexDigit(byte >> 4);
    dump += HexDigit(byte);
    dump += ' ';
  }
  for (size_t i = 0; i < 16; ++i) {
    const auto byte = static_cast<unsigned char>(head[offset + i]);
    dump += byte >= 0x20 && byte <= 0x7E ? static_cast<char>(byte) : '.';
  }
  dump += "\r\n";
}

}  // namespace

std::string LocalTimeText(const LocalTime& time) {
  if (time.month < 1 || time.month > 12) return {};
  char text[64];
  std::snprintf(text, sizeof text, "%d/%02d/%02d(%s) %02d:%02d:%02d", time.year, time.month, time.day,
                kDayNames[DayOfWeek(time)], time.hour, time.minute, time.second);
  return text;
}

std::string AttributesText(uint64_t size, FileTime last_write_time, FileTime creation_time,
                           uint32_t attributes) {
  std::string text = "[ファイルサイズ]\r\n    ";
  text += std::to_string(size);
  text += " BYTES\r\n\r\n";
  text += "[タイムスタンプ]\r\n更新日:   ";
  text += LocalTimeText(ToLocalTime(last_write_time));
  text += "\r\n作成日:   ";
  text += LocalTimeText(ToLocalTime(creation_time));
  text += "\r\n\r\n[ファイル属性]\r\n";
  for (const AttributeLine& line : kAttributeLines) {
    if ((attributes & line.bit) != 0) text += line.line;
  }
  return text;
}

std::string HeadText(const HeadBuffer& head) {
  const std::string_view bytes(head.data(), kHeadSize);
  return std::string(bytes.substr(0, bytes.find('\0')));
}

std::string DumpText(const HeadBuffer& head) {
  std::string dump;
  dump.reserve(kDumpSize);
  for (size_t line = 0; line < kDumpLines; ++line) AppendDumpLine(head, line * 16, dump);
  return dump;
}

FileContent LoadFileContent(FileSystem& file_system, std::string_view path) {
  FileContent content;
  if (path.empty()) return content;
  const std::unique_ptr<FileReader> reader = file_system.OpenRead(path);
  if (reader == nullptr) return content;
  if (const std::optional<DirEntry> entry = file_system.GetEntry(path)) {
    content.attributes_text =
        AttributesText(reader->Size(), entry->last_write_time, entry->creation_time, entry->attributes);
  }
  // One read: what it does not fill stays zero, also after a read error.
  if (!reader->Read(content.head.data(), kHeadSize)) content.head.fill('\0');
  return content;
}

void FileInfoPages::Show(std::string_view path) {
  path_.assign(path);
  content_ = LoadFileContent(file_system_, path_);
  head_text_.reset();
  dump_.reset();
  picture_taken_ = false;
}

std::string_view FileInfoPages::Text(FileInfoPage page) {
  switch (page) {
    case FileInfoPage::kAttributes:
      return content_.attributes_text;
    case FileInfoPage::kText:
      if (!head_text_) head_text_ = HeadText(content_.head);
      return *head_text_;
    case FileInfoPage::kBinary:
      if (!dump_) dump_ = DumpText(content_.head);
      return *dump_;
    case FileInfoPage::kImage:
      break;
  }
  return {};
}

bool FileInfoPages::TakePicture() { return !std::exchange(picture_taken_, true); }

}  // namespace twinseek
