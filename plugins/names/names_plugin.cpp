// 名前の揺れ (name variants): files meet when their names differ only in
// width, letter case, kana, or the marks that copies get (" - コピー",
// " (2)", "Copy of " ...); the extension must agree. Reads no file.
#include "twinseek_plugin.h"

#include "core/name_variants.h"
#include "win32/plugin_glue.h"

namespace {

twinseek::PluginAnswers answers;

}  // namespace

extern "C" {

const char* __cdecl GetTitle(void) { return "名前の揺れ"; }

void __cdecl InitCheck(void) {}

const char* __stdcall CheckFile(const char*, const WIN32_FIND_DATAA* data) {
  return answers.Keep([&] {
    twinseek::FileAnswer answer;
    if (const std::optional<std::string_view> name = twinseek::NameArgument(data)) {
      answer.fragment = twinseek::NameVariantFragment(*name);
    }
    return answer;
  });
}

const char* __cdecl ReturnMessage(void) { return answers.Message(); }

void __cdecl Release(void) {}

}  // extern "C"
