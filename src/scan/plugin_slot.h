// Comparator plug-ins: up to three optional libraries "TOOL1.DLL" to
// "TOOL3.DLL", each adding one condition to the duplicate key. A library
// exports GetTitle, InitCheck, CheckFile, ReturnMessage and Release (any may
// be missing); every text it returns is copied at once.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/file_system.h"

namespace twinseek {

inline constexpr int kPluginSlotCount = 3;

// One loaded library. A missing entry point does nothing, and one that
// returns text then returns nothing. Destroying the object unloads the
// library.
class PluginLibrary {
 public:
  virtual ~PluginLibrary() = default;
  virtual std::optional<std::string> GetTitle() = 0;
  // False when the library does not export InitCheck (nothing was called).
  virtual bool InitCheck() = 0;
  // path as the scan list holds it; entry as the folder listing gave it.
  virtual std::optional<std::string> CheckFile(std::string_view path, const DirEntry& entry) = 0;
  virtual std::optional<std::string> ReturnMessage() = 0;
  virtual void Release() = 0;
};

// Finds the library of a slot (1 to 3); null when there is none.
class PluginLoader {
 public:
  virtual ~PluginLoader() = default;
  virtual std::unique_ptr<PluginLibrary> Load(int slot) = 0;
};

struct PluginSlot {
  bool initialised = false;  // InitCheck was called; never cleared
  std::unique_ptr<PluginLibrary> library;

  bool loaded() const { return library != nullptr; }
};

// The three slots, owned by the main window (or the console tool) for its
// whole life.
class PluginSlots {
 public:
  PluginSlots() = default;
  PluginSlots(const PluginSlots&) = delete;
  PluginSlots& operator=(const PluginSlots&) = delete;
  // Releases and unloads, slots 3 down to 1.
  ~PluginSlots();

  // Loads slots 1 to 3 in order and asks each loaded library for its title.
  // Libraries loaded before are released and unloaded first.
  void LoadAll(PluginLoader& loader);

  // Slots are numbered 1 to 3; any other number names an empty slot.
  bool Loaded(int slot) const;
  // The title a loaded library gave, or nothing (the check box keeps its
  // caption).
  const std::optional<std::string>& Title(int slot) const;

  // At the first scan after a reset, slots 1 to 3 in turn: a ticked loaded
  // slot gets InitCheck and is initialised from then on if the library has
  // it; an unticked initialised one gets Release (and stays initialised, so
  // either call may come more than once).
  void PrepareFirstScan(const std::array<bool, kPluginSlotCount>& ticked);

  // For one file, slots 1 to 3 in turn, only the ticked ones: CheckFile, a
  // fragment returned is appended to key after one space; then ReturnMessage,
  // a non-empty text is appended to error_log unchanged.
  void AppendFragments(const std::array<bool, kPluginSlotCount>& ticked, std::string_view path,
                       const DirEntry& entry, std::string& key, std::string& error_log);

  // Release (where initialised) and unload, slots 3 down to 1.
  void UnloadAll();

 private:
  std::array<PluginSlot, kPluginSlotCount> slots_;
  std::array<std::optional<std::string>, kPluginSlotCount> titles_;
};

}  // namespace twinseek
