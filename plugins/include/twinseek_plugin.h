/*
 * twinseek_plugin.h: the interface of a Twinseek comparator plug-in.
 *
 * A comparator plug-in is a DLL that adds one duplicate condition to
 * Twinseek. For every file of a search it returns a short text, the
 * fragment; Twinseek appends it to the file's duplicate key, and files whose
 * keys are equal byte for byte are grouped as probable copies. So two files
 * meet on the plug-in's condition exactly when their fragments are equal.
 *
 * This header is plain C (C89); C++ may include it as well.
 *
 *
 * Enabling a plug-in
 * ------------------
 * Twinseek loads up to three plug-ins, named TOOL1.DLL, TOOL2.DLL and
 * TOOL3.DLL, with LoadLibrary and the bare name when its main window opens;
 * Windows then looks first in the folder of twinseek.exe. Copy a plug-in
 * there under one of these names. Its title replaces the caption of the
 * check box "定義1", "定義2" or "定義3" (definition 1 to 3); the box can be
 * ticked only while the library is loaded. twinseek-scan.exe finds the same
 * names beside itself and ticks slot N with --plugin N.
 *
 * A 32-bit twinseek.exe loads 32-bit plug-ins only, a 64-bit one 64-bit
 * plug-ins only.
 *
 *
 * The five entry points
 * ---------------------
 * Twinseek looks up exactly these undecorated names with GetProcAddress:
 * GetTitle, InitCheck, CheckFile, ReturnMessage and Release. Any of them may
 * be missing: a missing one is not called, and one that returns text then
 * counts as returning NULL.
 *
 * CheckFile is __stdcall (it removes its two arguments from the stack); the
 * other four take no arguments and are __cdecl. A 32-bit compiler decorates
 * __stdcall names (CheckFile@8 or _CheckFile@8), so export them through a
 * module-definition file that names them undecorated:
 *
 *     EXPORTS
 *       GetTitle
 *       InitCheck
 *       CheckFile
 *       ReturnMessage
 *       Release
 *
 * (with the GNU linker also -Wl,--enable-stdcall-fixup, so that CheckFile
 * binds to CheckFile@8). Check the result with "objdump -p" or "dumpbin
 * /exports": the export table must show the five plain names.
 *
 *
 * Texts
 * -----
 * Every text given or returned is NUL-terminated and in code page 932
 * (Shift-JIS), whatever the system's code page is.
 *
 * Twinseek copies a returned text at once and never frees it. The text
 * belongs to the plug-in and must stay valid until the next call into the
 * same library (a static buffer is the usual home; CheckFile and
 * ReturnMessage are called one after the other, so keep the fragment and the
 * message in separate buffers if ReturnMessage must not spoil the fragment
 * before it was copied, and never return a pointer into memory that a call
 * frees). NULL means "no text".
 *
 *
 * Threads and order of calls
 * --------------------------
 * GetTitle, InitCheck and Release are called on the user-interface thread;
 * CheckFile and ReturnMessage on the search's worker thread, one file at a
 * time. Twinseek never makes two calls into one library at the same moment,
 * but successive calls may come from different threads, so keep no state
 * per thread.
 *
 * 1. When the main window opens: GetTitle, once.
 * 2. At the first folder search after the program started or after a Reset
 *    (the results were emptied): InitCheck if the box is ticked; Release if
 *    it is not ticked but InitCheck was called before. Either may therefore
 *    come more than once, and Release may come before a later InitCheck.
 *    Later searches that add to the results call neither, and neither is
 *    called before a search of files dropped on the window: a plug-in must
 *    answer CheckFile correctly without InitCheck, and again after Release.
 * 3. For each file of a search, if the box is ticked: CheckFile, then
 *    ReturnMessage, whatever CheckFile returned.
 * 4. When the main window closes: Release if InitCheck was ever called, then
 *    FreeLibrary (never from the middle of a search). Do no work in DllMain
 *    beyond what DllMain allows.
 *
 *
 * Safety
 * ------
 * CheckFile is given what the folder listing found; by the time it runs the
 * file may have changed or gone, be locked, or be anything at all. It must
 * never crash or hang and must not let an exception out: for a file it
 * cannot judge it returns NULL and may say why in ReturnMessage.
 */
#ifndef TWINSEEK_PLUGIN_H
#define TWINSEEK_PLUGIN_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/*
 * The caption of the plug-in's check box: a short text (the box is narrow:
 * about 7 full-width characters or 14 bytes show in full), or NULL to keep
 * "定義N".
 */
const char* __cdecl GetTitle(void);

/*
 * A search with the plug-in's box ticked is about to start on emptied
 * results (see above for when it does not come). The result is ignored.
 */
void __cdecl InitCheck(void);

/*
 * The fragment of one file.
 *
 * path: the file's full path as the search listed it ("C:\folder\name.ext"),
 *   usually shorter than MAX_PATH (260) bytes but not always.
 * data: what the folder listing gave for that path, as FindFirstFileA fills
 *   it: cFileName (the long name, without the folder), dwFileAttributes,
 *   nFileSizeHigh and nFileSizeLow, the three times (UTC); cAlternateFileName
 *   may be empty. Valid during the call only; do not change it.
 *
 * Returns the fragment: Twinseek appends one space and this text to the
 * file's key. NULL adds nothing, so files for which CheckFile returns NULL
 * still meet each other on the other ticked conditions. Keep fragments short
 * (the key is the title of the file's group in the results) and free of line
 * breaks.
 */
const char* __stdcall CheckFile(const char* path, const WIN32_FIND_DATAA* data);

/*
 * Called after every CheckFile: a text that Twinseek appends unchanged to
 * the error log of the search (the user is offered the log at its end).
 * End each line with "\r\n": nothing is added. NULL or "" adds nothing.
 */
const char* __cdecl ReturnMessage(void);

/*
 * The plug-in's box was not ticked for a new search after InitCheck, or the
 * program ends. Free what InitCheck prepared. The result is ignored.
 */
void __cdecl Release(void);

#ifdef __cplusplus
}
#endif

#endif /* TWINSEEK_PLUGIN_H */
