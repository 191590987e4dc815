#include "picture.h"

#include <ole2.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

namespace twinseek::thumbctl {
namespace {

namespace flat = Gdiplus::DllExports;

// Larger files are not taken for pictures: they would be read whole.
constexpr LONGLONG kMaxPictureBytes = 256LL * 1024 * 1024;

struct FileHandle {
  HANDLE handle = INVALID_HANDLE_VALUE;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

struct GlobalMemory {
  HGLOBAL memory = nullptr;
  ~GlobalMemory() {
    if (memory != nullptr) GlobalFree(memory);
  }
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

// The whole file in movable global memory, or null when it is no picture.
HGLOBAL ReadPictureFile(const std::wstring& path) {
  FileHandle file;
  file.handle =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file.handle == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.handle, &size) || size.QuadPart < 8 || size.QuadPart > kMaxPictureBytes)
    return nullptr;
  GlobalMemory memory;
  memory.memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size.QuadPart));
  if (memory.memory == nullptr) return nullptr;
  void* bytes = GlobalLock(memory.memory);
  const bool read = bytes != nullptr && ReadAll(file.handle, bytes, static_cast<DWORD>(size.QuadPart)) &&
                    HasPictureSignature(static_cast<const unsigned char*>(bytes), 8);
  if (bytes != nullptr) GlobalUnlock(memory.memory);
  if (!read) return nullptr;
  return std::exchange(memory.memory, nullptr);
}

}  // namespace

// The decoded image and the in-memory stream GDI+ may still read it from.
struct Picture::Parts {
  IStream* stream = nullptr;
  Gdiplus::GpImage* image = nullptr;
  UINT width = 0;
  UINT height = 0;

  ~Parts() {
    if (image != nullptr) flat::GdipDisposeImage(image);
    if (stream != nullptr) stream->Release();
  }
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
  HGLOBAL memory = ReadPictureFile(std::wstring(path));
  if (memory == nullptr) return nullptr;
  auto parts = std::make_unique<Parts>();
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &parts->stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  if (flat::GdipLoadImageFromStream(parts->stream, &parts->image) != Gdiplus::Ok || parts->image == nullptr) {
    return nullptr;
  }
  flat::GdipGetImageWidth(parts->image, &parts->width);
  flat::GdipGetImageHeight(parts->image, &parts->height);
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
  flat::GdipDrawImageRectI(graphics, parts_->image, place.left, place.top, place.right - place.left,
                           place.bottom - place.top);
  flat::GdipDeleteGraphics(graphics);
}

}  // namespace twinseek::thumbctl
