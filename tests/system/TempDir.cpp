#include "TempDir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#ifdef _WIN32
#include <process.h>
#endif

namespace {
#ifdef _WIN32
// Windows has no mkdtemp: try numbered names until a folder is new.
std::filesystem::path MakeTempFolder() {
    const auto base = std::filesystem::temp_directory_path();
    const std::string prefix = "radioinfo-test-" + std::to_string(_getpid()) + "-";
    for (int attempt = 0; attempt < 10000; ++attempt) {
        const auto path = base / (prefix + std::to_string(attempt));
        if (std::filesystem::create_directory(path)) {
            return path;
        }
    }
    throw std::runtime_error("no fresh temporary folder");
}

void SetVariable(const std::string& name, const std::string& value) {
    ::_putenv_s(name.c_str(), value.c_str());
}

void UnsetVariable(const std::string& name) {
    ::_putenv_s(name.c_str(), ""); // an empty value removes it
}
#else
std::filesystem::path MakeTempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "radioinfo-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    return buffer.data();
}

void SetVariable(const std::string& name, const std::string& value) {
    ::setenv(name.c_str(), value.c_str(), 1);
}

void UnsetVariable(const std::string& name) {
    ::unsetenv(name.c_str());
}
#endif
} // namespace

TempDir::TempDir() : path_(MakeTempFolder()) {}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

ScopedEnv::ScopedEnv(std::string name, const std::optional<std::string>& value)
    : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str())) {
        previous_ = old;
    }
    if (value) {
        SetVariable(name_, *value);
    } else {
        UnsetVariable(name_);
    }
}

ScopedEnv::~ScopedEnv() {
    if (previous_) {
        SetVariable(name_, *previous_);
    } else {
        UnsetVariable(name_);
    }
}

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}
