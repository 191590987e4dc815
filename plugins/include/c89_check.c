/* Compiled as C89 in every Windows build: the plug-in header must stay
 * usable from plain C. The definitions must match its declarations. */
#include "twinseek_plugin.h"

static const char kTitle[] = "C89";

const char* __cdecl GetTitle(void) { return kTitle; }

void __cdecl InitCheck(void) {}

const char* __stdcall CheckFile(const char* path, const WIN32_FIND_DATAA* data) {
  return (path != NULL && data != NULL) ? data->cFileName : NULL;
}

const char* __cdecl ReturnMessage(void) { return NULL; }

void __cdecl Release(void) {}
