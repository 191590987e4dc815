#include "picture.h"

#include <ole2.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "base/win32/com_ptr.h"
#include "base/win32/unique_handle.h"

namespace twinseek::thumbctl {
namespace {

namespace flat = Gdiplus::DllExports;

// Larger files are not taken for pictures: they would be read whole.
constexpr LONGLONG kMaxPictureBytes = 256LL * 1024 * 1024;

struct ImageDisposer {
  void operator()(Gdiplus::GpImage* image) const { flat::GdipDisposeImage(image); }
};

// The first bytes of the formats the control shows.
bool HasPictureSignature(const unsigned char* head, size_t size) {
  auto starts = [&](const char* signature, size_t length) {
    return size >= length && std::memcmp(head, signature, length) == 0;
  };
  return starts("BM", 2) || starts("\x89PNG\r\n\x1a\n", 8) || starts("\xff\xd8\xff", 3) ||
         starts("GIF87a", 6) || starts("GIF89a", 6) || starts("II*\0", 4) || starts("MM\0*", 4) ||
         starts("\0\0\1\0", 4);
}

bool ReadAll(HANDLE file, void* buffer, DWORD size) {
  DWORD done = 0;
  while (done < size) {
    DWORD count = 0;
    if (!ReadFile(file, static_cast<char*>(buffer) + done, size - done, &count, nullptr) || count == 0) {
      return false;
    }
    done += count;
  }
  return true;
}

// The whole file in movable global memory, or none when it is no picture.
OwnedGlobalMemory ReadPictureFile(const std::wstring& path) {
  const OwnedHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 8 || size.QuadPart > kMaxPictureBytes) return {};
  OwnedGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size.QuadPart)));
  if (!memory) return {};
  void* bytes = GlobalLock(memory.get());
  const bool read = bytes != nullptr && ReadAll(file.get(), bytes, static_cast<DWORD>(size.QuadPart)) &&
                    HasPictureSignature(static_cast<const unsigned char*>(bytes), 8);
  if (bytes != nullptr) GlobalUnlock(memory.get());
  if (!read) return {};
  return memory;
}

}  // namespace

// The decoded image and the in-memory stream GDI+ may still read it from.
// The image goes before the stream.
struct Picture::Parts {
  ComPtr<IStream> stream;
  UniqueHandle<Gdiplus::GpImage*, ImageDisposer> image;
  UINT width = 0;
  UINT height = 0;
};

RECT FitInside(UINT width, UINT height, const RECT& box) {
  const LONG box_width = std::max<LONG>(box.right - box.left, 0);
  const LONG box_height = std::max<LONG>(box.bottom - box.top, 0);
  if (width == 0 || height == 0) return RECT{box.left, box.top, box.left, box.top};
  LONGLONG fit_width = width;
  LONGLONG fit_height = height;
  if (fit_width > box_width || fit_height > box_height) {
    // The smaller of the two scales, worked in integers: width/height kept.
    if (static_cast<LONGLONG>(width) * box_height <= static_cast<LONGLONG>(height) * box_width) {
      fit_height = box_height;
      fit_width =
          std::max<LONGLONG>(static_cast<LONGLONG>(width) * box_height / height, box_height > 0 ? 1 : 0);
    } else {
      fit_width = box_width;
      fit_height =
          std::max<LONGLONG>(static_cast<LONGLONG>(height) * box_width / width, box_width > 0 ? 1 : 0);
    }
  }
  const LONG left = box.left + static_cast<LONG>((box_width - fit_width) / 2);
  const LONG top = box.top + static_cast<LONG>((box_height - fit_height) / 2);
  return RECT{left, top, left + static_cast<LONG>(fit_width), top + static_cast<LONG>(fit_height)};
}

std::unique_ptr<Picture> Picture::Load(std::wstring_view path) {
  if (path.empty()) return nullptr;
  OwnedGlobalMemory memory = ReadPictureFile(std::wstring(path));
  if (!memory) return nullptr;
  auto parts = std::make_unique<Parts>();
  // Once the stream exists, it frees the memory.
  if (FAILED(CreateStreamOnHGlobal(memory.get(), TRUE, parts->stream.Receive()))) return nullptr;
  memory.release();
  Gdiplus::GpImage* image = nullptr;
  const Gdiplus::Status loaded = flat::GdipLoadImageFromStream(parts->stream.get(), &image);
  parts->image.reset(image);
  if (loaded != Gdiplus::Ok || !parts->image) return nullptr;
  flat::GdipGetImageWidth(parts->image.get(), &parts->width);
  flat::GdipGetImageHeight(parts->image.get(), &parts->height);
  if (parts->width == 0 || parts->height == 0) return nullptr;
  return std::unique_ptr<Picture>(new Picture(std::move(parts)));
}

Picture::Picture(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}

Picture::~Picture() = default;

void Picture::Draw(HDC dc, const RECT& box) const {
  const RECT place = FitInside(parts_->width, parts_->height, box);
  if (place.right <= place.left || place.bottom <= place.top) return;
  Gdiplus::GpGraphics* graphics = nullptr;
  if (flat::GdipCreateFromHDC(dc, &graphics) != Gdiplus::Ok) return;
  flat::GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeHighQualityBicubic);
  flat::GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHighQuality);
  flat::GdipDrawImageRectI(graphics, parts_->image.get(), place.left, place.top, place.right - place.left,
                           place.bottom - place.top);
  flat::GdipDeleteGraphics(graphics);
}

}  // namespace twinseek::thumbctl
