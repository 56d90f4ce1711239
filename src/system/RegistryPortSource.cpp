#include "RegistryPortSource.h"

#include "WindowsApi.h"

#include <array>

namespace {
// 255 characters and the terminator, for the value name and for its data.
constexpr DWORD BufferSize = 256;

// The ANSI data text as UTF-16; port names are plain ASCII in practice.
std::u16string FromAnsi(const char* text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length - 1)); // without the terminator
    return std::u16string(wide.begin(), wide.end());
}
} // namespace

std::vector<SystemPort> RegistryPortSource::Ports() {
    std::vector<SystemPort> ports;
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", &key) != ERROR_SUCCESS) {
        return ports;
    }
    for (DWORD index = 0;; ++index) {
        // Fresh NUL-filled buffers for every value, so a short data text
        // never carries the tail of the previous one.
        std::array<char, BufferSize> name{};
        std::array<BYTE, BufferSize> data{};
        DWORD nameSize = BufferSize;
        DWORD dataSize = BufferSize;
        DWORD type = 0;
        if (RegEnumValueA(key, index, name.data(), &nameSize, nullptr, &type, data.data(),
                          &dataSize) != ERROR_SUCCESS) {
            break;
        }
        // The last byte stays NUL: the text ends within the buffer.
        data.back() = 0;
        ports.push_back({FromAnsi(reinterpret_cast<const char*>(data.data())), {}});
    }
    RegCloseKey(key);
    return ports;
}
