// The process: start-up enables the hosting of ActiveX controls, takes the
// shell's task allocator, reads the settings file beside the executable, and
// runs the main window modally; when it closes, the window is torn down, the
// allocator released, and the process ends. There is no command line and no
// state kept between runs.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstdint>
#include <string>

#include "base/win32/com_ptr.h"

namespace twinseek {

// The common controls the windows use (tree view, progress bar, date
// picker), registered once per process.
void InitializeCommonControls();

class Application {
 public:
  Application();
  // Releases the allocator and ends OLE on this thread.
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Runs the main window; returns when it has closed and been torn down.
  void Run();

 private:
  bool ole_initialised_ = false;
  ComPtr<IMalloc> allocator_;
  std::string executable_path_;
  std::string title_;  // the caption of every message box that names none
  std::string settings_path_;
  uint32_t load_limit_kb_ = 0;
};

}  // namespace twinseek
