// The main window's prompt routine: before any message box, dialog or report
// window shows, from the window's thread or a worker's, the tree view catches
// up with the results, so what the user reads in the box matches the tree
// behind it.
#pragma once

#include <windows.h>

#include <memory>

#include "base/win32/prompter.h"
#include "tree/win32/result_tree_view.h"

namespace twinseek {

class ViewSyncingPrompter final : public Prompter {
 public:
  // view: the main window's view, made when the window opens (until then
  // nothing is synced); both must outlive this object.
  ViewSyncingPrompter(Prompter& prompter, const std::unique_ptr<ResultTreeView>& view)
      : prompter_(prompter), view_(view) {}

  int ShowMessage(HWND owner, std::string_view text, std::string_view caption, UINT type) override {
    SyncView();
    return prompter_.ShowMessage(owner, text, caption, type);
  }
  std::optional<std::string> ChooseSaveFile(HWND owner, const SaveFileRequest& request) override {
    SyncView();
    return prompter_.ChooseSaveFile(owner, request);
  }
  bool ChooseFolder(HWND owner, std::string& path, std::string_view title) override {
    SyncView();
    return prompter_.ChooseFolder(owner, path, title);
  }
  void ShowReport(HWND owner, std::string_view text) override {
    SyncView();
    prompter_.ShowReport(owner, text);
  }

 private:
  void SyncView() {
    if (view_) ResultTreeView::SyncFromAnyThread(view_->control());
  }

  Prompter& prompter_;
  const std::unique_ptr<ResultTreeView>& view_;
};

}  // namespace twinseek
