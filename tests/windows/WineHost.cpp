#include "WineHost.h"

#include "system/WindowsApi.h"

#include <array>
#include <vector>

namespace {
constexpr const char* WineKey = "Software\\Wine";
constexpr const char* VersionValue = "Version";

std::string ThisProgram() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            return std::string(buffer.data(), length);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string ReadAll(HANDLE pipe) {
    std::string output;
    std::array<char, 4096> chunk{};
    DWORD got = 0;
    while (ReadFile(pipe, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr) &&
           got > 0) {
        output.append(chunk.data(), got);
    }
    return output;
}

std::optional<std::string> ReadVersionSetting() {
    std::array<char, 64> value{};
    DWORD size = static_cast<DWORD>(value.size());
    if (RegGetValueA(HKEY_CURRENT_USER, WineKey, VersionValue, RRF_RT_REG_SZ, nullptr, value.data(),
                     &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::string(value.data());
}

void WriteVersionSetting(const std::optional<std::string>& name) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, WineKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    if (name) {
        RegSetValueExA(key, VersionValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(name->c_str()),
                       static_cast<DWORD>(name->size() + 1));
    } else {
        RegDeleteValueA(key, VersionValue);
    }
    RegCloseKey(key);
}
} // namespace

std::optional<std::string> RunThisProgram(std::string_view arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        return std::nullopt;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string commandLine = "\"" + ThisProgram() + "\" " + std::string(arguments);
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd); // the child holds the only write end now
    if (!started) {
        CloseHandle(readEnd);
        return std::nullopt;
    }
    // The child prints one short line, which fits the pipe's buffer, so it
    // can end before anything is read; one that hangs is ended.
    constexpr DWORD ChildTimeoutMs = 60000;
    const bool ended = WaitForSingleObject(process.hProcess, ChildTimeoutMs) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(process.hProcess, 1);
    }
    std::string output = ReadAll(readEnd);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(readEnd);
    if (!ended) {
        return std::nullopt;
    }
    return output;
}

ScopedWineVersion::ScopedWineVersion(const std::string& name) : previous_(ReadVersionSetting()) {
    WriteVersionSetting(name);
}

ScopedWineVersion::~ScopedWineVersion() {
    WriteVersionSetting(previous_);
}
