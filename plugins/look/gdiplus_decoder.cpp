#include "look/gdiplus_decoder.h"

#include <ole2.h>
#include <gdiplus.h>

#include "base/win32/wide_text.h"
#include "core/difference_hash.h"

namespace twinseek {
namespace {

namespace flat = Gdiplus::DllExports;

// Rows converted at a time: the converted copy stays small whatever the
// picture's height.
constexpr UINT kStripRows = 64;

// Owns one decoded bitmap.
class Bitmap {
 public:
  explicit Bitmap(const std::wstring& path) {
    if (flat::GdipCreateBitmapFromFile(path.c_str(), &bitmap_) != Gdiplus::Ok) bitmap_ = nullptr;
  }
  ~Bitmap() {
    if (bitmap_ != nullptr) flat::GdipDisposeImage(bitmap_);
  }
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  Gdiplus::GpBitmap* get() const { return bitmap_; }

 private:
  Gdiplus::GpBitmap* bitmap_ = nullptr;
};

}  // namespace

bool GdiplusDecoder::Start() {
  if (token_ != 0) return true;
  Gdiplus::GdiplusStartupInput input;
  // No background thread: nothing of GDI+ must outlive a session the host
  // never ends (a plug-in may be freed without Release).
  input.SuppressBackgroundThread = TRUE;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartupOutput output;
  if (Gdiplus::GdiplusStartup(&token, &input, &output) != Gdiplus::Ok) return false;
  token_ = token;
  return true;
}

void GdiplusDecoder::Stop() {
  if (token_ == 0) return;
  Gdiplus::GdiplusShutdown(token_);
  token_ = 0;
}

std::optional<uint64_t> GdiplusDecoder::LookHash(std::string_view path) {
  if (!Start()) return std::nullopt;
  const Bitmap bitmap(Cp932ToWide(path));
  if (bitmap.get() == nullptr) return std::nullopt;
  UINT width = 0;
  UINT height = 0;
  if (flat::GdipGetImageWidth(bitmap.get(), &width) != Gdiplus::Ok ||
      flat::GdipGetImageHeight(bitmap.get(), &height) != Gdiplus::Ok || width == 0 || height == 0 ||
      uint64_t{width} * height > kLargestLookPixels) {
    return std::nullopt;
  }
  GreyGrid grid(width, height);
  for (UINT top = 0; top < height; top += kStripRows) {
    const UINT rows = height - top < kStripRows ? height - top : kStripRows;
    Gdiplus::GpRect strip(0, static_cast<INT>(top), static_cast<INT>(width), static_cast<INT>(rows));
    Gdiplus::BitmapData data;
    if (flat::GdipBitmapLockBits(bitmap.get(), &strip, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                                 &data) != Gdiplus::Ok) {
      return std::nullopt;
    }
    const auto* first = static_cast<const BYTE*>(data.Scan0);
    for (UINT row = 0; row < rows; ++row) {
      grid.AddRow(top + row,
                  reinterpret_cast<const uint32_t*>(first + static_cast<ptrdiff_t>(row) * data.Stride));
    }
    flat::GdipBitmapUnlockBits(bitmap.get(), &data);
  }
  return grid.DifferenceHash();
}

}  // namespace twinseek
