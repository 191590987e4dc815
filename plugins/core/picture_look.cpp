#include "core/picture_look.h"

#include <memory>

#include "core/difference_hash.h"
#include "core/hash_text.h"
#include "core/picture_header.h"

namespace twinseek {

FileAnswer PictureLookAnswer(FileSystem& file_system, PictureDecoder& decoder, std::string_view path) {
  constexpr std::string_view kUnreadable = "画像を読み取れませんでした";
  PictureProbe probe;
  {
    const std::unique_ptr<FileReader> reader = file_system.OpenRead(path);
    if (reader == nullptr) return Unanswered(kUnreadable, path);
    probe = ProbePicture(*reader);
  }
  if (probe.read_failed) return Unanswered(kUnreadable, path);
  if (!probe.size) return {};
  if (uint64_t{probe.size->width} * probe.size->height > kLargestLookPixels) {
    return Unanswered("画像が大きすぎるため見た目を比べませんでした", path);
  }
  FileAnswer answer;
  if (const std::optional<uint64_t> hash = decoder.LookHash(path)) answer.fragment = HashText(*hash);
  return answer;
}

}  // namespace twinseek
