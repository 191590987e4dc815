// Three sparse files of 3 GiB for the head-and-tail plug-in (on disk they
// take almost nothing): "a.bin"; "b.bin", which differs from it only in its
// middle; and "c.bin", which differs from it in its last byte.
#pragma once

#include <cstdint>

#include "support/temp_tree.h"

namespace twinseek::testing {

inline void WriteLargeCopies(TempTree& tree) {
  constexpr uint64_t kSize = 3ull << 30;
  for (const char8_t* name : {u8"a.bin", u8"b.bin", u8"c.bin"}) {
    tree.Write(name, "head");
    tree.Resize(name, kSize);
  }
  tree.WriteAt(u8"b.bin", kSize / 2, "middle");
  tree.WriteAt(u8"c.bin", kSize - 1, "z");
}

}  // namespace twinseek::testing
