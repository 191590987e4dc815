// The sample plug-in DLLs as a host sees them: loaded from the build, their
// five entry points called by name with the argument types of the plug-in
// header, on real files (pictures written through GDI+), and on arguments
// no plug-in can use.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <thread>

#include "base/win32/wide_text.h"
#include "support/temp_tree.h"
#include "win32/plugins/built_plugins.h"
#include "win32/plugins/test_pictures.h"

namespace twinseek::testing {
namespace {

// One loaded plug-in, called through the types a host uses.
class Plugin {
 public:
  explicit Plugin(std::string_view name) : module_(LoadLibraryW(Cp932ToWide(BuiltPlugin(name)).c_str())) {}
  ~Plugin() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  bool loaded() const { return module_ != nullptr; }
  bool Exports(const char* entry) const { return GetProcAddress(module_, entry) != nullptr; }

  std::optional<std::string> GetTitle() const { return Copy(Entry<TextEntry>("GetTitle")()); }
  void InitCheck() const { Entry<CallEntry>("InitCheck")(); }
  void Release() const { Entry<CallEntry>("Release")(); }
  std::optional<std::string> CheckFile(const char* path, const WIN32_FIND_DATAA* data) const {
    return Copy(Entry<CheckEntry>("CheckFile")(path, data));
  }
  // CheckFile with the find data of an existing file, or an empty one.
  std::optional<std::string> CheckPath(const std::string& path) const {
    WIN32_FIND_DATAA data{};
    HANDLE find = FindFirstFileA(path.c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    return CheckFile(path.c_str(), &data);
  }
  std::optional<std::string> ReturnMessage() const { return Copy(Entry<TextEntry>("ReturnMessage")()); }

 private:
  using TextEntry = const char*(__cdecl*)();
  using CallEntry = void(__cdecl*)();
  using CheckEntry = const char*(WINAPI*)(const char*, const WIN32_FIND_DATAA*);

  template <typename Type>
  Type Entry(const char* name) const {
    return reinterpret_cast<Type>(reinterpret_cast<void (*)()>(GetProcAddress(module_, name)));
  }
  static std::optional<std::string> Copy(const char* text) {
    return text == nullptr ? std::nullopt : std::optional<std::string>(text);
  }

  HMODULE module_;
};

bool IsHash(const std::optional<std::string>& fragment) {
  return fragment && fragment->size() == 16 &&
         fragment->find_first_not_of("0123456789abcdef") == std::string::npos;
}

TEST(PluginDllsTest, EachExportsTheFiveEntryPointsAndAJapaneseTitle) {
  const std::pair<const char*, const char*> titles[] = {
      {"twinseek-names", "\x96\xbc\x91\x4f\x82\xcc\x97\x68\x82\xea"},            // 名前の揺れ
      {"twinseek-picture", "\x89\xe6\x91\x9c\x82\xcc\x91\xe5\x82\xab\x82\xb3"},  // 画像の大きさ
      {"twinseek-headtail", "\x90\xe6\x93\xaa\x82\xc6\x96\x96\x94\xf6"},         // 先頭と末尾
      {"twinseek-look", "\x89\xe6\x91\x9c\x82\xcc\x8c\xa9\x82\xbd\x96\xda"},     // 画像の見た目
  };
  for (const auto& [name, title] : titles) {
    const Plugin plugin(name);
    ASSERT_TRUE(plugin.loaded()) << BuiltPlugin(name);
    for (const char* entry : {"GetTitle", "InitCheck", "CheckFile", "ReturnMessage", "Release"}) {
      EXPECT_TRUE(plugin.Exports(entry)) << name << " " << entry;
    }
    EXPECT_EQ(plugin.GetTitle(), title) << name;
  }
}

TEST(PluginDllsTest, WhatNoPluginCanUseGivesNoFragment) {
  TempTree tree;
  tree.MakeFolder(u8"folder");
  const std::string long_path(40'000, 'a');
  WIN32_FIND_DATAA unterminated;
  std::memset(&unterminated, 'A', sizeof unterminated);
  const WIN32_FIND_DATAA empty{};
  const std::string folder_path = tree.Path("folder");
  const std::string missing_path = tree.Path("missing.png");

  for (const char* name : kSamplePlugins) {
    const Plugin plugin(name);
    ASSERT_TRUE(plugin.loaded()) << name;
    const std::pair<const char*, const WIN32_FIND_DATAA*> calls[] = {
        {nullptr, nullptr},
        {nullptr, &unterminated},
        {"", &empty},
        {long_path.c_str(), &empty},
        {"\x81", &empty},
        {"C:\\no\\such\\folder\\x.png", nullptr},
        {folder_path.c_str(), nullptr},
        {missing_path.c_str(), nullptr},
    };
    for (const auto& [path, data] : calls) {
      EXPECT_EQ(plugin.CheckFile(path, data), std::nullopt) << name << " " << (path ? path : "(null)");
      EXPECT_TRUE(plugin.ReturnMessage().has_value()) << name;  // never NULL, "" for nothing to say
    }
  }
  // The plug-ins that read files say which one they could not read.
  for (const char* name : {"twinseek-picture", "twinseek-headtail", "twinseek-look"}) {
    const Plugin plugin(name);
    EXPECT_EQ(plugin.CheckFile(missing_path.c_str(), nullptr), std::nullopt);
    const std::string message = plugin.ReturnMessage().value_or("");
    EXPECT_TRUE(message.ends_with("(" + missing_path + ")\r\n")) << name << ": " << message;
    EXPECT_EQ(plugin.CheckFile(nullptr, nullptr), std::nullopt);
    EXPECT_EQ(plugin.ReturnMessage(), "") << name;  // a new call forgets the last message
  }
}

TEST(PluginDllsTest, PictureSizesAndLooksOfRealPictures) {
  TempTree tree;
  ASSERT_TRUE(WritePhotoPng(tree.Path("photo.png"), 640, 480));
  ASSERT_TRUE(WriteScaledJpeg(tree.Path("photo.png"), tree.Path("half.jpg"), 320, 240, 80));
  ASSERT_TRUE(WritePhotoPng(tree.Path("other.png"), 640, 480, 1));
  // A PNG cut after its header: its size is known, its look is not.
  {
    HANDLE file = CreateFileW(Cp932ToWide(tree.Path("photo.png")).c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char head[64];
    DWORD read = 0;
    ReadFile(file, head, sizeof head, &read, nullptr);
    CloseHandle(file);
    tree.Write(u8"cut.png", std::string(head, read));
  }
  tree.Write(u8"notes.txt", "not a picture");

  const Plugin size("twinseek-picture");
  EXPECT_EQ(size.CheckPath(tree.Path("photo.png")), "640x480");
  EXPECT_EQ(size.CheckPath(tree.Path("half.jpg")), "320x240");
  EXPECT_EQ(size.CheckPath(tree.Path("cut.png")), "640x480");
  EXPECT_EQ(size.CheckPath(tree.Path("notes.txt")), std::nullopt);
  EXPECT_EQ(size.ReturnMessage(), "");

  const Plugin look("twinseek-look");
  // No InitCheck: a search of dropped files never calls it.
  const std::optional<std::string> photo = look.CheckPath(tree.Path("photo.png"));
  EXPECT_TRUE(IsHash(photo)) << photo.value_or("(null)");
  EXPECT_EQ(look.CheckPath(tree.Path("half.jpg")), photo);
  EXPECT_NE(look.CheckPath(tree.Path("other.png")), photo);
  EXPECT_TRUE(IsHash(look.CheckPath(tree.Path("other.png"))));
  EXPECT_EQ(look.CheckPath(tree.Path("cut.png")), std::nullopt);
  EXPECT_EQ(look.CheckPath(tree.Path("notes.txt")), std::nullopt);
  EXPECT_EQ(look.ReturnMessage(), "");
  // After Release, after InitCheck, and on a thread of its own (as the
  // search's worker) it answers alike.
  look.Release();
  EXPECT_EQ(look.CheckPath(tree.Path("photo.png")), photo);
  look.InitCheck();
  look.InitCheck();
  std::optional<std::string> on_worker;
  std::thread([&] { on_worker = look.CheckPath(tree.Path("half.jpg")); }).join();
  EXPECT_EQ(on_worker, photo);
  look.Release();
  look.Release();
}

}  // namespace
}  // namespace twinseek::testing
