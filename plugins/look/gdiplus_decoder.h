// Pictures decoded with GDI+ (its flat API) for the picture-look plug-in.
// The GDI+ session starts at the first use or at Start, and ends at Stop;
// it is never touched from DllMain.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/picture_look.h"

namespace twinseek {

class GdiplusDecoder final : public PictureDecoder {
 public:
  ~GdiplusDecoder() override = default;  // a session left open ends with the process

  // False when GDI+ cannot be started.
  bool Start();
  void Stop();

  // Every row of the first frame, converted to 32-bit ARGB a strip at a
  // time, into a GreyGrid.
  std::optional<uint64_t> LookHash(std::string_view path) override;

 private:
  ULONG_PTR token_ = 0;
};

}  // namespace twinseek
