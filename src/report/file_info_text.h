// The texts of the file information window: the attributes page (size,
// local timestamps, attribute lines), the text page (the start of the file up
// to its first zero byte) and the hexadecimal dump of the first 4,096 bytes,
// and the loading of one file's content for them. Texts are code page 932
// with "\r\n" line breaks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/file_system.h"

namespace twinseek {

// How many bytes of a file the text and binary pages show.
inline constexpr size_t kHeadSize = 4096;

// The first up to kHeadSize bytes of a file, zero bytes after its end, and
// always at least one zero byte at the end.
using HeadBuffer = std::array<char, kHeadSize + 1>;

// Every dump line is this long, "\r\n" included; the dump has kDumpLines.
inline constexpr size_t kDumpLineLength = 73;
inline constexpr size_t kDumpLines = kHeadSize / 16;
inline constexpr size_t kDumpSize = kDumpLineLength * kDumpLines;  // 18,688

// A local time as "%Y/%m/%d(%a) %H:%M:%S" in the "C" locale, for example
// "2002/01/15(Tue) 13:45:07": the English three-letter day of the week.
// Empty for a time the local-time conversion could not represent (month 0).
std::string LocalTimeText(const LocalTime& time);

// The attributes page: "[ファイルサイズ]" with the size in bytes (the whole
// unsigned 64-bit number), "[タイムスタンプ]" with the last-write and
// creation times in local time, "[ファイル属性]" with one line for each of
// archive, read-only, hidden, system and temporary that is set, in that
// order. Times are UTC file times.
std::string AttributesText(uint64_t size, FileTime last_write_time, FileTime creation_time,
                           uint32_t attributes);

// The head as text: its bytes up to the first zero byte.
std::string HeadText(const HeadBuffer& head);

// The hexadecimal dump of the first kHeadSize bytes of head: kDumpLines lines
// of "%04X : ", sixteen "%02X ", the sixteen bytes as characters (0x20 to
// 0x7E as themselves, any other as ".") and "\r\n"; kDumpSize bytes always.
std::string DumpText(const HeadBuffer& head);

// What the window shows of one file: its attributes text and its head.
struct FileContent {
  std::string attributes_text;
  HeadBuffer head{};
};

// Opens path once through file_system and reads its entry and, with one
// read, its first up to kHeadSize bytes. A file that cannot be opened (an
// empty path, a file that is gone or locked) gives an empty attributes text
// and a head of zero bytes; an entry that cannot be read gives an empty
// attributes text beside the head.
FileContent LoadFileContent(FileSystem& file_system, std::string_view path);

// The pages of the file information window, in the order of its drop-down
// list, and their names there.
enum class FileInfoPage { kAttributes, kText, kBinary, kImage };
inline constexpr const char* kFileInfoPageNames[] = {"属性", "テキスト", "バイナリ", "画像"};

// The pages of one file at a time. Show reads the file once; each text is
// made the first time its page asks for it, and the picture is handed to the
// preview once. Switching pages reads nothing again.
class FileInfoPages {
 public:
  // file_system outlives the pages.
  explicit FileInfoPages(FileSystem& file_system) : file_system_(file_system) {}

  // Reads the file at path (LoadFileContent); an empty path clears the pages.
  void Show(std::string_view path);
  const std::string& path() const { return path_; }
  // What a text page shows; nothing for the image page.
  std::string_view Text(FileInfoPage page);
  // True the first time it is asked after Show: the picture of path() is to
  // be handed to the preview then.
  bool TakePicture();

 private:
  FileSystem& file_system_;
  std::string path_;
  FileContent content_;
  std::optional<std::string> head_text_;
  std::optional<std::string> dump_;
  bool picture_taken_ = false;
};

}  // namespace twinseek
