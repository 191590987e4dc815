#include "scan/plugin_slot.h"

namespace twinseek {

namespace {

bool ValidSlot(int slot) { return slot >= 1 && slot <= kPluginSlotCount; }

}  // namespace

PluginSlots::~PluginSlots() { UnloadAll(); }

void PluginSlots::LoadAll(PluginLoader& loader) {
  UnloadAll();
  for (int slot = 1; slot <= kPluginSlotCount; ++slot) {
    PluginSlot& entry = slots_[slot - 1];
    entry.library = loader.Load(slot);
    if (entry.library) titles_[slot - 1] = entry.library->GetTitle();
  }
}

bool PluginSlots::Loaded(int slot) const { return ValidSlot(slot) && slots_[slot - 1].loaded(); }

const std::optional<std::string>& PluginSlots::Title(int slot) const {
  static const std::optional<std::string> kNoTitle;
  return ValidSlot(slot) ? titles_[slot - 1] : kNoTitle;
}

void PluginSlots::PrepareFirstScan(const std::array<bool, kPluginSlotCount>& ticked) {
  for (int index = 0; index < kPluginSlotCount; ++index) {
    PluginSlot& slot = slots_[index];
    if (!slot.loaded()) continue;
    if (ticked[index]) {
      if (slot.library->InitCheck()) slot.initialised = true;
    } else if (slot.initialised) {
      slot.library->Release();
    }
  }
}

void PluginSlots::AppendFragments(const std::array<bool, kPluginSlotCount>& ticked, std::string_view path,
                                  const DirEntry& entry, std::string& key, std::string& error_log) {
  for (int index = 0; index < kPluginSlotCount; ++index) {
    PluginSlot& slot = slots_[index];
    if (!ticked[index] || !slot.loaded()) continue;
    if (const std::optional<std::string> fragment = slot.library->CheckFile(path, entry)) {
      key += ' ';
      key += *fragment;
    }
    if (const std::optional<std::string> message = slot.library->ReturnMessage()) error_log += *message;
  }
}

void PluginSlots::UnloadAll() {
  for (int index = kPluginSlotCount - 1; index >= 0; --index) {
    PluginSlot& slot = slots_[index];
    if (slot.loaded() && slot.initialised) slot.library->Release();
    slot.library.reset();
    slot.initialised = false;
    titles_[index].reset();
  }
}

}  // namespace twinseek
