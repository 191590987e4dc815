// The three plug-in slots with libraries that record every call: which calls
// come, in which order, and what reaches the key and the error log.
#include "scan/plugin_slot.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace twinseek {
namespace {

using Calls = std::vector<std::string>;

// What a fake library exports and answers.
struct FakeExports {
  std::optional<std::string> title;
  std::optional<std::string> fragment;
  std::optional<std::string> message;
  bool has_init_check = true;
};

FakeExports Titled(std::string title) { return {title, std::nullopt, std::nullopt}; }

FakeExports Answering(std::optional<std::string> fragment, std::optional<std::string> message) {
  return {std::nullopt, std::move(fragment), std::move(message)};
}

class FakeLibrary final : public PluginLibrary {
 public:
  FakeLibrary(int slot, FakeExports exports, Calls& calls)
      : slot_(std::to_string(slot) + ":"), exports_(std::move(exports)), calls_(calls) {}
  ~FakeLibrary() override { calls_.push_back(slot_ + "Unload"); }

  std::optional<std::string> GetTitle() override {
    calls_.push_back(slot_ + "GetTitle");
    return exports_.title;
  }
  bool InitCheck() override {
    if (!exports_.has_init_check) return false;
    calls_.push_back(slot_ + "InitCheck");
    return true;
  }
  std::optional<std::string> CheckFile(std::string_view path, const DirEntry& entry) override {
    calls_.push_back(slot_ + "CheckFile " + std::string(path) + " " + entry.name);
    return exports_.fragment;
  }
  std::optional<std::string> ReturnMessage() override {
    calls_.push_back(slot_ + "ReturnMessage");
    return exports_.message;
  }
  void Release() override { calls_.push_back(slot_ + "Release"); }

 private:
  std::string slot_;
  FakeExports exports_;
  Calls& calls_;
};

class FakeLoader final : public PluginLoader {
 public:
  explicit FakeLoader(Calls& calls) : calls_(calls) {}
  std::map<int, FakeExports> libraries;

  std::unique_ptr<PluginLibrary> Load(int slot) override {
    calls_.push_back(std::to_string(slot) + ":Load");
    const auto found = libraries.find(slot);
    if (found == libraries.end()) return nullptr;
    return std::make_unique<FakeLibrary>(slot, found->second, calls_);
  }

 private:
  Calls& calls_;
};

class PluginSlotsTest : public ::testing::Test {
 protected:
  // Loads slots 1 and 3 (2 has no library) and forgets the calls so far.
  void LoadOneAndThree(FakeExports one, FakeExports three) {
    loader.libraries = {{1, std::move(one)}, {3, std::move(three)}};
    slots.LoadAll(loader);
    calls.clear();
  }

  Calls calls;
  FakeLoader loader{calls};
  PluginSlots slots;
  const DirEntry entry = [] {
    DirEntry sample;
    sample.name = "a.txt";
    return sample;
  }();
};

TEST_F(PluginSlotsTest, LoadsInOrderAndKeepsTheTitles) {
  loader.libraries = {{1, Titled("長さ")}, {3, {}}};
  slots.LoadAll(loader);
  EXPECT_EQ(calls, (Calls{"1:Load", "1:GetTitle", "2:Load", "3:Load", "3:GetTitle"}));
  EXPECT_TRUE(slots.Loaded(1));
  EXPECT_FALSE(slots.Loaded(2));
  EXPECT_TRUE(slots.Loaded(3));
  EXPECT_FALSE(slots.Loaded(0));
  EXPECT_FALSE(slots.Loaded(4));
  EXPECT_EQ(slots.Title(1), "長さ");
  EXPECT_EQ(slots.Title(2), std::nullopt);
  EXPECT_EQ(slots.Title(3), std::nullopt);
  EXPECT_EQ(slots.Title(7), std::nullopt);
}

TEST_F(PluginSlotsTest, PreparesTickedSlotsAndReleasesUntickedInitialisedOnes) {
  LoadOneAndThree({}, {});
  slots.PrepareFirstScan({true, true, false});
  EXPECT_EQ(calls, (Calls{"1:InitCheck"}));
  calls.clear();
  // After a reset with other conditions: slot 1 is initialised, so it is
  // released; slot 3 never was, so it gets nothing.
  slots.PrepareFirstScan({false, false, false});
  EXPECT_EQ(calls, (Calls{"1:Release"}));
  calls.clear();
  slots.PrepareFirstScan({false, false, true});
  slots.PrepareFirstScan({true, false, true});
  EXPECT_EQ(calls, (Calls{"1:Release", "3:InitCheck", "1:InitCheck", "3:InitCheck"}));
}

TEST_F(PluginSlotsTest, SlotWithoutInitCheckIsNeverReleased) {
  LoadOneAndThree({std::nullopt, std::nullopt, std::nullopt, false}, {});
  slots.PrepareFirstScan({true, false, true});
  slots.PrepareFirstScan({false, false, false});
  EXPECT_EQ(calls, (Calls{"3:InitCheck", "3:Release"}));
  calls.clear();
  slots.UnloadAll();
  EXPECT_EQ(calls, (Calls{"3:Release", "3:Unload", "1:Unload"}));
}

TEST_F(PluginSlotsTest, AppendsFragmentsAndMessagesOfTickedSlots) {
  LoadOneAndThree(Answering("SZ5", "one\r\n"), Answering("表", "three"));
  std::string key = "A.TXT";
  std::string log = "before\r\n";
  slots.AppendFragments({true, true, true}, "C:\\x\\a.txt", entry, key, log);
  EXPECT_EQ(key, "A.TXT SZ5 表");
  EXPECT_EQ(log, "before\r\none\r\nthree");
  EXPECT_EQ(calls, (Calls{"1:CheckFile C:\\x\\a.txt a.txt", "1:ReturnMessage",
                          "3:CheckFile C:\\x\\a.txt a.txt", "3:ReturnMessage"}));

  calls.clear();
  key.clear();
  log.clear();
  slots.AppendFragments({false, true, true}, "p", entry, key, log);
  EXPECT_EQ(key, " 表");
  EXPECT_EQ(log, "three");
  EXPECT_EQ(calls, (Calls{"3:CheckFile p a.txt", "3:ReturnMessage"}));
}

TEST_F(PluginSlotsTest, AsksForTheMessageWhateverTheFragment) {
  LoadOneAndThree(Answering(std::nullopt, ""), Answering("", std::nullopt));
  std::string key = "K";
  std::string log;
  slots.AppendFragments({true, false, true}, "p", entry, key, log);
  // An empty fragment still brings its blank; no message adds nothing.
  EXPECT_EQ(key, "K ");
  EXPECT_EQ(log, "");
  EXPECT_EQ(calls,
            (Calls{"1:CheckFile p a.txt", "1:ReturnMessage", "3:CheckFile p a.txt", "3:ReturnMessage"}));
}

TEST_F(PluginSlotsTest, UnloadsFromThreeToOneReleasingInitialisedSlots) {
  loader.libraries = {{1, {}}, {2, {}}, {3, {}}};
  {
    PluginSlots owned;
    owned.LoadAll(loader);
    owned.PrepareFirstScan({true, false, true});
    calls.clear();
  }
  EXPECT_EQ(calls, (Calls{"3:Release", "3:Unload", "2:Unload", "1:Release", "1:Unload"}));
}

TEST_F(PluginSlotsTest, UnloadsOnceAndLoadsAfresh) {
  LoadOneAndThree({}, {});
  slots.PrepareFirstScan({true, false, false});
  slots.UnloadAll();
  slots.UnloadAll();
  slots.PrepareFirstScan({true, true, true});
  EXPECT_FALSE(slots.Loaded(1));
  EXPECT_EQ(calls, (Calls{"1:InitCheck", "3:Unload", "1:Release", "1:Unload"}));
  calls.clear();
  // Loading again starts from uninitialised slots.
  slots.LoadAll(loader);
  slots.PrepareFirstScan({false, false, false});
  EXPECT_EQ(calls, (Calls{"1:Load", "1:GetTitle", "2:Load", "3:Load", "3:GetTitle"}));
}

}  // namespace
}  // namespace twinseek
