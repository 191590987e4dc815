// 画像の見た目 (picture look): files meet when they are pictures with the
// same difference hash (9 x 8 grey cells, decoded with GDI+), which the same
// photo keeps at another size or JPEG quality in most cases. Equal hashes
// only: near look-alikes, not all of them.
#include "twinseek_plugin.h"

#include "base/file_system.h"
#include "core/picture_look.h"
#include "look/gdiplus_decoder.h"
#include "win32/plugin_glue.h"

namespace {

twinseek::PluginAnswers answers;
twinseek::GdiplusDecoder decoder;

}  // namespace

extern "C" {

const char* __cdecl GetTitle(void) { return "画像の見た目"; }

void __cdecl InitCheck(void) { decoder.Start(); }

const char* __stdcall CheckFile(const char* path, const WIN32_FIND_DATAA*) {
  return answers.KeepForPath(path, [](std::string_view checked) {
    return twinseek::PictureLookAnswer(twinseek::SystemFileSystem(), decoder, checked);
  });
}

const char* __cdecl ReturnMessage(void) { return answers.Message(); }

void __cdecl Release(void) { decoder.Stop(); }

}  // extern "C"
