#include "win32/plugins/test_pictures.h"

#include <windows.h>
#include <ole2.h>
#include <gdiplus.h>

#include "base/win32/wide_text.h"
#include "plugins/photo_like.h"

namespace twinseek::testing {
namespace {

namespace flat = Gdiplus::DllExports;

constexpr CLSID kPngEncoder = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr CLSID kJpegEncoder = {0x557cf401, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr GUID kQualityParameter = {
    0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};

// One GDI+ session for the length of a call.
class Session {
 public:
  Session() {
    Gdiplus::GdiplusStartupInput input;
    started_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
  }
  ~Session() {
    if (started_) Gdiplus::GdiplusShutdown(token_);
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  bool started() const { return started_; }

 private:
  ULONG_PTR token_ = 0;
  bool started_ = false;
};

// Owns one image.
class Image {
 public:
  Image() = default;
  ~Image() {
    if (image_ != nullptr) flat::GdipDisposeImage(image_);
  }
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  Gdiplus::GpBitmap** out() { return &image_; }
  Gdiplus::GpBitmap* get() const { return image_; }

 private:
  Gdiplus::GpBitmap* image_ = nullptr;
};

}  // namespace

bool WritePhotoPng(const std::string& path, uint32_t width, uint32_t height, int scene) {
  Session session;
  Image bitmap;
  if (!session.started() ||
      flat::GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height), 0,
                                      PixelFormat32bppARGB, nullptr, bitmap.out()) != Gdiplus::Ok) {
    return false;
  }
  Gdiplus::GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
  Gdiplus::BitmapData data;
  if (flat::GdipBitmapLockBits(bitmap.get(), &all, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB,
                               &data) != Gdiplus::Ok) {
    return false;
  }
  for (uint32_t y = 0; y < height; ++y) {
    auto* row =
        reinterpret_cast<uint32_t*>(static_cast<BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride);
    for (uint32_t x = 0; x < width; ++x) row[x] = PhotoLikePixel(x, y, width, height, scene);
  }
  flat::GdipBitmapUnlockBits(bitmap.get(), &data);
  return flat::GdipSaveImageToFile(bitmap.get(), Cp932ToWide(path).c_str(), &kPngEncoder, nullptr) ==
         Gdiplus::Ok;
}

bool WriteScaledJpeg(const std::string& from, const std::string& to, uint32_t width, uint32_t height,
                     unsigned long quality) {
  Session session;
  Image source;
  Image scaled;
  if (!session.started() ||
      flat::GdipCreateBitmapFromFile(Cp932ToWide(from).c_str(), source.out()) != Gdiplus::Ok ||
      flat::GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height), 0,
                                      PixelFormat24bppRGB, nullptr, scaled.out()) != Gdiplus::Ok) {
    return false;
  }
  Gdiplus::GpGraphics* graphics = nullptr;
  if (flat::GdipGetImageGraphicsContext(scaled.get(), &graphics) != Gdiplus::Ok) return false;
  flat::GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeHighQualityBicubic);
  flat::GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHighQuality);
  const bool drawn = flat::GdipDrawImageRectI(graphics, source.get(), 0, 0, static_cast<INT>(width),
                                              static_cast<INT>(height)) == Gdiplus::Ok;
  flat::GdipDeleteGraphics(graphics);
  if (!drawn) return false;
  Gdiplus::EncoderParameters parameters;
  parameters.Count = 1;
  parameters.Parameter[0].Guid = kQualityParameter;
  parameters.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
  parameters.Parameter[0].NumberOfValues = 1;
  parameters.Parameter[0].Value = &quality;
  return flat::GdipSaveImageToFile(scaled.get(), Cp932ToWide(to).c_str(), &kJpegEncoder, &parameters) ==
         Gdiplus::Ok;
}

}  // namespace twinseek::testing
