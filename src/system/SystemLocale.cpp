#include "SystemLocale.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {
constexpr std::uint32_t EnglishUnitedStates = 0x0409;

constexpr std::array<std::pair<std::string_view, std::uint32_t>, 4> KnownLocales{{
    {"zh_CN", 0x0804},
    {"zh_TW", 0x0404},
    {"zh_HK", 0x0C04},
    {"en_US", 0x0409},
}};
} // namespace

std::uint32_t LocaleIdFromName(std::string_view name) {
    name = name.substr(0, name.find_first_of(".@"));
    for (const auto& [locale, id] : KnownLocales) {
        if (name == locale) {
            return id;
        }
    }
    return EnglishUnitedStates;
}

std::uint32_t SystemDefaultLocaleId() {
#ifdef _WIN32
    return static_cast<std::uint32_t>(GetSystemDefaultLCID());
#else
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return LocaleIdFromName(value);
        }
    }
    return EnglishUnitedStates;
#endif
}

int LangTypeForLocaleId(std::uint32_t localeId) {
    constexpr char digits[] = "0123456789ABCDEF";
    std::string hex;
    do {
        hex.insert(hex.begin(), digits[localeId % 16]);
        localeId /= 16;
    } while (localeId != 0);
    const bool decimal =
        std::all_of(hex.begin(), hex.end(), [](char c) { return c >= '0' && c <= '9'; });
    return decimal && hex.size() <= 9 && std::stoul(hex) == 804 ? 2 : 1;
}
