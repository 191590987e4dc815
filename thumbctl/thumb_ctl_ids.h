// The names under which VellmorThumbCtl is known: its class identifier (the
// host in src/report/win32/image_preview_host.h names the same one as text;
// the two must stay equal), its ProgID and its registry description.
#pragma once

#include <windows.h>

namespace twinseek::thumbctl {

// {5B0E3A52-8C41-4D7A-9F3E-2A6C1D7B9E41}
inline constexpr CLSID kControlClsid = {
    0x5b0e3a52, 0x8c41, 0x4d7a, {0x9f, 0x3e, 0x2a, 0x6c, 0x1d, 0x7b, 0x9e, 0x41}};
inline constexpr const wchar_t* kControlClsidText = L"{5B0E3A52-8C41-4D7A-9F3E-2A6C1D7B9E41}";
inline constexpr const wchar_t* kControlProgId = L"VellmorThumbCtl.ThumbCtl";
inline constexpr const wchar_t* kControlDescription = L"VellmorThumbCtl";

}  // namespace twinseek::thumbctl
