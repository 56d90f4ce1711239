#pragma once

#include "system/WindowsApi.h"

// True when Wine runs this program (its ntdll exports wine_get_version):
// where Wine and Windows are known to answer differently, a test expects
// Wine's answer only under Wine.
inline bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}
