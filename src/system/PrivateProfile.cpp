#include "PrivateProfile.h"

#include "WindowsApi.h"

#include <algorithm>
#include <vector>

std::string ReadProfileValue(const std::filesystem::path& file, std::string_view section,
                             std::string_view key, std::string_view fallback,
                             std::size_t bufferChars) {
    if (bufferChars == 0) {
        return {};
    }
    std::vector<char> buffer(bufferChars, '\0');
    const std::string sectionText(section);
    const std::string keyText(key);
    const std::string fallbackText(fallback);
    const DWORD length = GetPrivateProfileStringA(
        sectionText.c_str(), keyText.c_str(), fallbackText.c_str(), buffer.data(),
        static_cast<DWORD>(bufferChars), file.string().c_str());
    return std::string(buffer.data(), std::min<std::size_t>(length, bufferChars - 1));
}

bool WriteProfileValue(const std::filesystem::path& file, std::string_view section,
                       std::string_view key, std::string_view value) {
    // A sentinel fallback that no value can equal tells a missing key from
    // an empty value.
    constexpr std::string_view Missing = "\x01";
    constexpr std::size_t SameCheckBuffer = 512;
    if (ReadProfileValue(file, section, key, Missing, SameCheckBuffer) == value) {
        return true;
    }
    const std::string sectionText(section);
    const std::string keyText(key);
    const std::string valueText(value);
    return WritePrivateProfileStringA(sectionText.c_str(), keyText.c_str(), valueText.c_str(),
                                      file.string().c_str()) != 0;
}

std::filesystem::path ProgramFolderSettingsPath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return "mysetup.ini";
        }
        if (length < buffer.size()) {
            std::string program(buffer.data(), length);
            return program.substr(0, program.find_last_of('\\')) + "\\mysetup.ini";
        }
        buffer.resize(buffer.size() * 2); // a long path was cut; ask again
    }
}
