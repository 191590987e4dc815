// 画像の大きさ (picture size): files meet when they are pictures (PNG, JPEG,
// GIF, BMP, WebP) of the same width and height, as their headers state;
// nothing but the header is read.
#include "twinseek_plugin.h"

#include "base/file_system.h"
#include "core/picture_header.h"
#include "win32/plugin_glue.h"

namespace {

twinseek::PluginAnswers answers;

}  // namespace

extern "C" {

const char* __cdecl GetTitle(void) { return "画像の大きさ"; }

void __cdecl InitCheck(void) {}

const char* __stdcall CheckFile(const char* path, const WIN32_FIND_DATAA*) {
  return answers.KeepForPath(path, [](std::string_view checked) {
    return twinseek::PictureSizeAnswer(twinseek::SystemFileSystem(), checked);
  });
}

const char* __cdecl ReturnMessage(void) { return answers.Message(); }

void __cdecl Release(void) {}

}  // extern "C"
