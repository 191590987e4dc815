// One decoded picture file (BMP, PNG, JPEG, GIF, TIFF, ICO) held in memory,
// so the file itself stays free to be moved or deleted while it is shown.
// Needs a running GDI+ session (module.h) for its whole life.
#pragma once

#include <windows.h>

#include <memory>
#include <string_view>

namespace twinseek::thumbctl {

// Where a picture of width x height lands in box: centred, scaled down to fit
// with its proportions kept, never scaled up. Empty for an empty picture.
RECT FitInside(UINT width, UINT height, const RECT& box);

class Picture {
 public:
  // Nothing for an empty path, a file that cannot be read, a file whose first
  // bytes are not those of a known picture format, or one GDI+ cannot decode.
  static std::unique_ptr<Picture> Load(std::wstring_view path);

  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  // Draws the picture into box on dc as FitInside places it.
  void Draw(HDC dc, const RECT& box) const;

 private:
  struct Parts;
  explicit Picture(std::unique_ptr<Parts> parts);

  std::unique_ptr<Parts> parts_;
};

}  // namespace twinseek::thumbctl
