// The image preview control under Wine: VellmorThumbCtl registered from the
// DLL built beside this program, hosted in a real window through atl.dll,
// given picture files written by the test, and its pixels read back from the
// screen. Without the registration the host reports that it has no control.
#include "report/win32/image_preview_host.h"

#include <gtest/gtest.h>
#include <ole2.h>
#include <gdiplus.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/win32/wide_text.h"
#include "support/temp_tree.h"

namespace twinseek {
namespace {

using testing::TempTree;

struct Colour {
  uint8_t red, green, blue;
};
constexpr Colour kRed{230, 20, 20};
constexpr Colour kBlue{20, 20, 230};
constexpr Colour kGreen{20, 200, 40};
constexpr Colour kWhite{255, 255, 255};

bool Near(Colour a, Colour b) {
  auto close = [](int x, int y) { return x - y <= 48 && y - x <= 48; };
  return close(a.red, b.red) && close(a.green, b.green) && close(a.blue, b.blue);
}

// A 24-bit bottom-up BMP file of width x height pixels.
std::string BmpFile(int width, int height, const std::function<Colour(int, int)>& colour_at) {
  const int row_size = (width * 3 + 3) / 4 * 4;
  const uint32_t data_size = static_cast<uint32_t>(row_size * height);
  std::string file;
  auto put16 = [&](uint16_t value) { file.append(reinterpret_cast<const char*>(&value), 2); };
  auto put32 = [&](uint32_t value) { file.append(reinterpret_cast<const char*>(&value), 4); };
  file += "BM";
  put32(14 + 40 + data_size);
  put32(0);
  put32(14 + 40);
  put32(40);
  put32(static_cast<uint32_t>(width));
  put32(static_cast<uint32_t>(height));
  put16(1);
  put16(24);
  for (int i = 0; i < 6; ++i) put32(0);
  for (int y = height - 1; y >= 0; --y) {
    std::string row(static_cast<size_t>(row_size), '\0');
    for (int x = 0; x < width; ++x) {
      const Colour colour = colour_at(x, y);
      row[static_cast<size_t>(x * 3)] = static_cast<char>(colour.blue);
      row[static_cast<size_t>(x * 3 + 1)] = static_cast<char>(colour.green);
      row[static_cast<size_t>(x * 3 + 2)] = static_cast<char>(colour.red);
    }
    file += row;
  }
  return file;
}

// A PNG file of one colour, written through GDI+'s encoder.
bool WritePng(const std::string& path, int width, int height, Colour colour) {
  namespace flat = Gdiplus::DllExports;
  static constexpr CLSID kPngEncoder = {
      0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
  Gdiplus::GpBitmap* bitmap = nullptr;
  bool written = false;
  if (flat::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap) ==
      Gdiplus::Ok) {
    const Gdiplus::ARGB argb = 0xff000000u | (colour.red << 16) | (colour.green << 8) | colour.blue;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) flat::GdipBitmapSetPixel(bitmap, x, y, argb);
    }
    written =
        flat::GdipSaveImageToFile(bitmap, Cp932ToWide(path).c_str(), &kPngEncoder, nullptr) == Gdiplus::Ok;
    flat::GdipDisposeImage(bitmap);
  }
  Gdiplus::GdiplusShutdown(token);
  return written;
}

// The client area of a window as the screen shows it.
class Capture {
 public:
  explicit Capture(HWND window) {
    UpdateWindow(window);
    RECT client{};
    GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    pixels_.assign(pixels, pixels + static_cast<size_t>(width_) * height_);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, source);
  }

  int width() const { return width_; }
  int height() const { return height_; }
  Colour At(int x, int y) const {
    const uint32_t pixel = pixels_[static_cast<size_t>(y) * width_ + x];
    return Colour{static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
                  static_cast<uint8_t>(pixel)};
  }
  int Count(Colour colour) const {
    int count = 0;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) count += Near(At(x, y), colour) ? 1 : 0;
    }
    return count;
  }
  bool RowIs(int y, Colour colour) const {
    for (int x = 0; x < width_; ++x) {
      if (!Near(At(x, y), colour)) return false;
    }
    return true;
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

using RegisterFunction = HRESULT(WINAPI*)();
using InstallFunction = HRESULT(WINAPI*)(BOOL, const wchar_t*);

// Whether the key below root exists.
bool KeyExists(HKEY root, const wchar_t* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// The control's DLL beside this program, registered or not on request.
class ControlDll {
 public:
  ControlDll() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    path.resize(path.find_last_of(L'\\') + 1);
    module_ = LoadLibraryW((path + L"VellmorThumbCtl.dll").c_str());
    if (module_ != nullptr) {
      register_ = Function("DllRegisterServer");
      unregister_ = Function("DllUnregisterServer");
      install_ =
          reinterpret_cast<InstallFunction>(reinterpret_cast<void*>(GetProcAddress(module_, "DllInstall")));
    }
  }
  ~ControlDll() {
    if (module_ != nullptr) {
      Unregister();
      FreeLibrary(module_);
    }
  }
  ControlDll(const ControlDll&) = delete;
  ControlDll& operator=(const ControlDll&) = delete;

  bool Register() { return register_ != nullptr && SUCCEEDED(register_()); }
  bool Unregister() { return unregister_ != nullptr && SUCCEEDED(unregister_()); }
  // What "regsvr32 [/u] /n /i:command_line" does.
  HRESULT Install(bool install, const wchar_t* command_line) {
    return install_ != nullptr ? install_(install, command_line) : E_NOTIMPL;
  }

 private:
  RegisterFunction Function(const char* name) {
    return reinterpret_cast<RegisterFunction>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

  HMODULE module_ = nullptr;
  RegisterFunction register_ = nullptr;
  RegisterFunction unregister_ = nullptr;
  InstallFunction install_ = nullptr;
};

constexpr RECT kControlRect{20, 20, 180, 180};  // 160 x 160

class ImagePreviewHostTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { dll_ = new ControlDll(); }
  static void TearDownTestSuite() {
    delete dll_;
    dll_ = nullptr;
  }

  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    window_class.lpszClassName = L"TwinseekPreviewHostTest";
    RegisterClassExW(&window_class);
    parent_ = CreateWindowExW(WS_EX_TOPMOST, L"TwinseekPreviewHostTest", L"preview",
                              WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 240, 240, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
  }

  void TearDown() override {
    if (parent_ != nullptr) DestroyWindow(parent_);
    PumpMessages();
    OleUninitialize();
  }

  // Creates the registered control in host; its own window, or null.
  HWND Host(ImagePreviewHost& host) {
    if (!dll_->Register() || !host.Create(parent_, kControlRect)) return nullptr;
    PumpMessages();
    return GetWindow(host.window(), GW_CHILD);
  }

  // Shows path and reads the control's pixels back.
  Capture Show(ImagePreviewHost& host, HWND control, const std::string& path) {
    host.ShowPicture(path);
    PumpMessages();
    return Capture(control);
  }

  // A 320 x 80 red picture whose top right quarter is blue.
  std::string WriteWidePicture(std::u8string_view name) {
    tree_.Write(name, BmpFile(320, 80, [](int x, int y) { return x >= 240 && y < 40 ? kBlue : kRed; }));
    const std::string_view utf8(reinterpret_cast<const char*>(name.data()), name.size());
    return tree_.Path(WideToCp932(Utf8ToWide(utf8).value_or(L"")).value_or(""));
  }

  static ControlDll* dll_;
  HWND parent_ = nullptr;
  TempTree tree_;
};

ControlDll* ImagePreviewHostTest::dll_ = nullptr;

// 320 x 80 in 160 x 160: drawn 160 x 40 from y 60, white above and below; at
// 80 x 80, drawn 80 x 20 from y 30. The blue quarter stays top right, so the
// picture is neither flipped nor cropped.
TEST_F(ImagePreviewHostTest, DrawsALargePictureScaledDownWithItsProportionsKept) {
  tree_.MakeFolder(u8"写真");
  const std::string path = WriteWidePicture(u8"写真\\横長の絵.bmp");
  ImagePreviewHost host;
  HWND control = Host(host);
  ASSERT_NE(control, nullptr);
  ASSERT_TRUE(host.created());

  Capture shown = Show(host, control, path);
  ASSERT_EQ(shown.width(), 160);
  ASSERT_EQ(shown.height(), 160);
  EXPECT_TRUE(shown.RowIs(5, kWhite));
  EXPECT_TRUE(shown.RowIs(55, kWhite));
  EXPECT_TRUE(shown.RowIs(105, kWhite));
  EXPECT_TRUE(shown.RowIs(154, kWhite));
  EXPECT_TRUE(Near(shown.At(3, 90), kRed));
  EXPECT_TRUE(Near(shown.At(110, 90), kRed));
  EXPECT_TRUE(Near(shown.At(3, 65), kRed));
  EXPECT_TRUE(Near(shown.At(150, 65), kBlue));
  EXPECT_TRUE(Near(shown.At(150, 95), kRed));
  const int white = shown.Count(kWhite);
  EXPECT_GT(white, 160 * 116);
  EXPECT_LT(white, 160 * 124);

  host.Move(RECT{10, 10, 90, 90});
  PumpMessages();
  Capture moved(control);
  ASSERT_EQ(moved.width(), 80);
  ASSERT_EQ(moved.height(), 80);
  EXPECT_TRUE(moved.RowIs(25, kWhite));
  EXPECT_TRUE(moved.RowIs(55, kWhite));
  EXPECT_TRUE(Near(moved.At(3, 45), kRed));
  EXPECT_TRUE(Near(moved.At(75, 34), kBlue));
}

// 48 x 64 in 160 x 160: never enlarged, centred at (56, 48) - (104, 112).
TEST_F(ImagePreviewHostTest, DrawsASmallPictureCentredAtItsOwnSize) {
  const std::string path = tree_.Path("small.png");
  ASSERT_TRUE(WritePng(path, 48, 64, kGreen));
  ImagePreviewHost host;
  HWND control = Host(host);
  ASSERT_NE(control, nullptr);

  Capture shown = Show(host, control, path);
  EXPECT_TRUE(Near(shown.At(80, 80), kGreen));
  EXPECT_TRUE(Near(shown.At(58, 50), kGreen));
  EXPECT_TRUE(Near(shown.At(101, 109), kGreen));
  EXPECT_TRUE(Near(shown.At(52, 80), kWhite));
  EXPECT_TRUE(Near(shown.At(108, 80), kWhite));
  EXPECT_TRUE(Near(shown.At(80, 44), kWhite));
  EXPECT_TRUE(Near(shown.At(80, 116), kWhite));
  const int green = shown.Count(kGreen);
  EXPECT_GT(green, 44 * 60);
  EXPECT_LT(green, 52 * 68);
}

// Each case follows a picture, so a white control means it was dropped.
TEST_F(ImagePreviewHostTest, ShowsNothingForAnEmptyPathOrAFileThatIsNoPicture) {
  const std::string picture = WriteWidePicture(u8"picture.bmp");
  tree_.Write(u8"notes.txt", "not a picture\r\n");
  tree_.Write(u8"broken.bmp", "BM" + std::string(200, '\x11'));
  ImagePreviewHost host;
  HWND control = Host(host);
  ASSERT_NE(control, nullptr);
  const int all = 160 * 160;

  for (const std::string& nothing : {std::string(), tree_.Path("notes.txt"), tree_.Path("broken.bmp"),
                                     tree_.Path("missing.png"), tree_.Root()}) {
    SCOPED_TRACE(nothing);
    ASSERT_GT(Show(host, control, picture).Count(kRed), all / 5);
    EXPECT_EQ(Show(host, control, nothing).Count(kWhite), all);
  }
}

// The picture is held in memory: its file can go while it is shown.
TEST_F(ImagePreviewHostTest, LeavesThePictureFileFreeWhileShowingIt) {
  const std::string path = WriteWidePicture(u8"shown.bmp");
  ImagePreviewHost host;
  HWND control = Host(host);
  ASSERT_NE(control, nullptr);
  host.ShowPicture(path);

  EXPECT_TRUE(DeleteFileW(Cp932ToWide(path).c_str()));
  InvalidateRect(control, nullptr, TRUE);
  EXPECT_GT(Capture(control).Count(kRed), 160 * 160 / 5);
}

// The program enables the hosting once at start-up; the host must still
// create the control afterwards (a second AtlAxWinInit answers FALSE).
TEST_F(ImagePreviewHostTest, CreatesTheControlWhenTheHostingWasEnabledBefore) {
  HMODULE atl = LoadLibraryW(L"atl.dll");
  ASSERT_NE(atl, nullptr);
  auto init = reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
  ASSERT_NE(init, nullptr);
  init();
  ImagePreviewHost host;
  EXPECT_NE(Host(host), nullptr);
  EXPECT_TRUE(host.created());
}

TEST_F(ImagePreviewHostTest, WithoutTheRegisteredControlCreationFailsAndLaterCallsDoNothing) {
  ASSERT_TRUE(dll_->Unregister());
  ImagePreviewHost host;
  EXPECT_FALSE(host.Create(parent_, kControlRect));
  EXPECT_FALSE(host.created());
  EXPECT_EQ(host.window(), nullptr);
  EXPECT_EQ(GetWindow(parent_, GW_CHILD), nullptr);  // no empty host window left

  host.ShowPicture(WriteWidePicture(u8"unseen.bmp"));
  host.Show(SW_HIDE);
  host.Move(RECT{0, 0, 50, 50});
  EXPECT_EQ(GetWindow(parent_, GW_CHILD), nullptr);
}

// An installer registers the control for every user of the machine: the
// machine's classes name this DLL, the user's classes stay untouched, the
// host creates it; uninstalling removes it again. Other command lines are
// refused.
TEST_F(ImagePreviewHostTest, RegisteredForTheMachineItIsCreatedAndUnregisteredItIsGone) {
  constexpr const wchar_t* kClassKey = L"Software\\Classes\\CLSID\\{5B0E3A52-8C41-4D7A-9F3E-2A6C1D7B9E41}";
  ASSERT_TRUE(dll_->Unregister());
  ASSERT_EQ(dll_->Install(true, L"machine"), S_OK);
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kClassKey));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kClassKey));
  {
    ImagePreviewHost host;
    EXPECT_TRUE(host.Create(parent_, kControlRect));
    PumpMessages();
  }
  EXPECT_EQ(dll_->Install(false, L"MACHINE"), S_OK);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClassKey));
  ImagePreviewHost host;
  EXPECT_FALSE(host.Create(parent_, kControlRect));

  EXPECT_EQ(dll_->Install(true, L"user"), E_INVALIDARG);
  EXPECT_EQ(dll_->Install(true, nullptr), E_INVALIDARG);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kClassKey));
}

}  // namespace
}  // namespace twinseek
