// The sample plug-ins in the desktop program: copied as TOOL1.DLL to
// TOOL3.DLL into a folder the system's loader searches, and loaded there by
// the program's own plug-in loader when the main window opens. Their titles
// become the captions of the boxes, and a search with a box ticked groups
// what that plug-in should.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/win32/wide_text.h"
#include "resources/main_window_ids.h"
#include "scan/win32/plugin_loader_win32.h"
#include "plugins/large_copies.h"
#include "support/temp_tree.h"
#include "win32/app/main_window_harness.h"
#include "win32/plugins/built_plugins.h"
#include "win32/plugins/test_pictures.h"

namespace twinseek::testing {
namespace {

constexpr int kPluginBoxes[] = {IDC_MAIN_CHECK_PLUGIN1, IDC_MAIN_CHECK_PLUGIN2, IDC_MAIN_CHECK_PLUGIN3};

// The plug-ins given, as TOOL1.DLL, TOOL2.DLL ... of a folder that the
// default library search takes after the program's own folder, for as long
// as the object lives.
class PluginFolder {
 public:
  explicit PluginFolder(const std::vector<std::string>& plugins) {
    for (size_t i = 0; i < plugins.size(); ++i) {
      EXPECT_TRUE(
          CopyBuiltFile(BuiltPlugin(plugins[i]), folder_.Path(PluginLibraryName(static_cast<int>(i + 1)))));
    }
    SetDllDirectoryW(Cp932ToWide(folder_.Root()).c_str());
  }
  ~PluginFolder() { SetDllDirectoryW(nullptr); }
  PluginFolder(const PluginFolder&) = delete;
  PluginFolder& operator=(const PluginFolder&) = delete;

 private:
  TempTree folder_;
};

// The tree's groups: each group's line, and its files' lines in any order
// (the order of the folder listing).
struct Group {
  std::string line;
  std::set<std::string> files;
  friend bool operator==(const Group&, const Group&) = default;
};

// Opens the window with plugin as TOOL1.DLL, searches folder with only its
// box ticked, and gives the tree's groups.
std::vector<Group> SearchWithPlugin(const std::string& plugin, const std::string& folder) {
  PluginFolder plugins({plugin});
  Win32PluginLoader loader;
  MainWindowHarness window(loader);
  EXPECT_TRUE(window.Enabled(IDC_MAIN_CHECK_PLUGIN1));
  for (int id : {IDC_MAIN_CHECK_SIZE, IDC_MAIN_CHECK_DATE}) {
    SendDlgItemMessageW(window.window(), id, BM_SETCHECK, BST_UNCHECKED, 0);
  }
  SendDlgItemMessageW(window.window(), IDC_MAIN_CHECK_PLUGIN1, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_TRUE(window.Search(folder));
  std::vector<Group> groups;
  for (const std::string& line : window.TreeLines()) {
    if (!line.starts_with("  ")) {
      groups.push_back(Group{line, {}});
    } else if (!groups.empty()) {
      groups.back().files.insert(line.substr(2));
    }
  }
  return groups;
}

std::string Unmarked(const std::string& path) { return path + "#0"; }

TEST(MainWindowPluginsTest, TheBoxesShowTheTitlesOfThePlugins) {
  PluginFolder plugins({"twinseek-names", "twinseek-picture", "twinseek-look"});
  Win32PluginLoader loader;
  MainWindowHarness window(loader);
  const char* titles[] = {"名前の揺れ", "画像の大きさ", "画像の見た目"};
  for (int slot = 0; slot < 3; ++slot) {
    EXPECT_EQ(window.Text(kPluginBoxes[slot]), titles[slot]);
    EXPECT_TRUE(window.Enabled(kPluginBoxes[slot]));
    EXPECT_FALSE(window.Checked(kPluginBoxes[slot]));
  }
}

TEST(MainWindowPluginsTest, NameVariantsGroupTheCopiesOfAName) {
  TempTree files;
  for (const char8_t* name :
       {u8"report.txt", u8"report - コピー.txt", u8"ｒｅｐｏｒｔ (2).TXT", u8"other.txt"}) {
    files.Write(name, "any");
  }
  EXPECT_EQ(
      SearchWithPlugin("twinseek-names", files.Root()),
      (std::vector<Group>{{" REPORT.TXT#0",
                           {Unmarked(files.Path("report.txt")), Unmarked(files.Path("report - コピー.txt")),
                            Unmarked(files.Path("ｒｅｐｏｒｔ (2).TXT"))}}}));
}

TEST(MainWindowPluginsTest, PictureSizeGroupsPicturesOfOneSize) {
  TempTree files;
  ASSERT_TRUE(WritePhotoPng(files.Path("a.png"), 640, 480, 0));
  ASSERT_TRUE(WritePhotoPng(files.Path("b.png"), 640, 481, 0));
  ASSERT_TRUE(WritePhotoPng(files.Path("c.png"), 640, 480, 1));
  EXPECT_EQ(
      SearchWithPlugin("twinseek-picture", files.Root()),
      (std::vector<Group>{{" 640x480#0", {Unmarked(files.Path("a.png")), Unmarked(files.Path("c.png"))}}}));
}

TEST(MainWindowPluginsTest, HeadAndTailGroupsFilesThatDifferOnlyInTheMiddle) {
  TempTree files;
  WriteLargeCopies(files);
  const std::vector<Group> groups = SearchWithPlugin("twinseek-headtail", files.Root());
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].files,
            (std::set<std::string>{Unmarked(files.Path("a.bin")), Unmarked(files.Path("b.bin"))}));
}

TEST(MainWindowPluginsTest, PictureLookGroupsAPhotoWithItsSmallerJpeg) {
  TempTree files;
  ASSERT_TRUE(WritePhotoPng(files.Path("photo.png"), 640, 480, 0));
  ASSERT_TRUE(WritePhotoPng(files.Path("other.png"), 640, 480, 1));
  ASSERT_TRUE(WriteScaledJpeg(files.Path("photo.png"), files.Path("small.jpg"), 320, 240, 80));
  const std::vector<Group> groups = SearchWithPlugin("twinseek-look", files.Root());
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].line.size(), 1 + 16 + 2u) << groups[0].line;  // " " + the hash + "#0"
  EXPECT_EQ(groups[0].files,
            (std::set<std::string>{Unmarked(files.Path("photo.png")), Unmarked(files.Path("small.jpg"))}));
}

}  // namespace
}  // namespace twinseek::testing
