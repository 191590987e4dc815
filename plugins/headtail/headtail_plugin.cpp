// 先頭と末尾 (head and tail): files meet when their sizes, first MiB and last
// MiB agree: probable copies, found after reading at most 2 MiB of each.
#include "twinseek_plugin.h"

#include "base/file_system.h"
#include "core/head_tail.h"
#include "win32/plugin_glue.h"

namespace {

twinseek::PluginAnswers answers;

}  // namespace

extern "C" {

const char* __cdecl GetTitle(void) { return "先頭と末尾"; }

void __cdecl InitCheck(void) {}

const char* __stdcall CheckFile(const char* path, const WIN32_FIND_DATAA*) {
  return answers.KeepForPath(path, [](std::string_view checked) {
    return twinseek::HeadTailAnswer(twinseek::SystemFileSystem(), checked);
  });
}

const char* __cdecl ReturnMessage(void) { return answers.Message(); }

void __cdecl Release(void) {}

}  // extern "C"
