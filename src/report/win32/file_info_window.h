// The file information window "ファイル情報": a small tool window owned by the
// main window that shows one file on one of four pages chosen from its
// drop-down list: size, times and attributes; the start of the content as
// text; a hexadecimal dump of it; its picture through the image preview
// control. Created hidden with the main window and never recreated.
//
// ShowFile reads the file once (FileInfoPages); the pages show what it
// read. The close box hides the window and tells the owner (message
// kFileInfoStateMessage with 0).
//
// The file is read through a FileSystem: by default the system's, opened so
// that other programs may go on reading and writing it; tests give their own.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "base/file_system.h"
#include "base/win32/dialog.h"
#include "report/file_info_text.h"
#include "report/win32/image_preview_host.h"
#include "report/win32/read_only_text_box.h"

namespace twinseek {

class FileInfoWindow final : public Dialog {
 public:
  // The private message the window sends its owner when the user closes it
  // with its close box: WPARAM 0 (the box "ファイルの情報を表示する(&I)" unticked).
  static constexpr UINT kFileInfoStateMessage = 0x96;

  // Reads files through the system's file system, sharing them for reading
  // and writing with other programs.
  FileInfoWindow();
  // Reads files through file_system, which outlives the window.
  explicit FileInfoWindow(FileSystem& file_system);
  ~FileInfoWindow() override;

  // Creates the window hidden, owned by owner, with page 0 selected and the
  // image preview control created over the text box. False when the window
  // itself cannot be created.
  bool Create(HWND owner);
  void Destroy();

  // Shows the file at path (code page 932), or clears the pages for an
  // empty text.
  void ShowFile(std::string_view path);
  // Shows (SW_SHOWNORMAL) or hides the window.
  void SetVisible(bool visible);
  // Selects page 0 to 3 (FileInfoPage) as the drop-down list would.
  void SelectPage(int page);

 private:
  bool OnInit() override;
  bool OnCommand(int id, int code) override;
  void OnSize() override;
  std::optional<INT_PTR> OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  // True when the system command was the close box's, which is handled here.
  bool OnSysCommand(WPARAM command);
  void OnDestroy();

  FileInfoPage SelectedPage() const;
  // Shows the page selected in the drop-down list, loading what is stale.
  void ShowSelectedPage();
  void ShowTextPage(std::string_view text);
  void ShowImagePage();
  // The drop-down list across the top, the text box and the control below.
  void Layout();

  FileInfoPages pages_;
  HWND owner_ = nullptr;
  std::optional<ReadOnlyTextBox> text_box_;
  std::optional<ImagePreviewHost> image_;
  bool image_created_ = false;
  std::optional<FileInfoPage> previous_page_;
};

}  // namespace twinseek
