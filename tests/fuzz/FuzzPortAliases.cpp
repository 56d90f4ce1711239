// The port alias folder: any names, linked to devices, to missing targets or
// to other files. Only names comN (N from 1 to 999) that link to a terminal
// device become ports (here /dev/zero stands in for one, /dev/null is a
// character device that is none); numbering gives every listed port its own
// number.
#include "FuzzInput.h"
#include "system/PortAliases.h"
#include "system/PortNumbering.h"

#include <cctype>
#include <filesystem>
#include <set>
#include <unistd.h>

namespace {
// The number an alias name stands for, worked out on its own: "com" in any
// case and one to three digits, 1 to 999.
int ExpectedNumber(const std::string& name) {
    if (name.size() < 4 || name.size() > 6) {
        return 0;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::tolower(static_cast<unsigned char>(name[i])) != "com"[i]) {
            return 0;
        }
    }
    int number = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return 0;
        }
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

std::filesystem::path Folder() {
    static const std::filesystem::path folder = [] {
        char pattern[] = "/tmp/radioinfo-fuzz-aliases-XXXXXX";
        return std::filesystem::path(mkdtemp(pattern));
    }();
    return folder;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    const std::filesystem::path folder = Folder();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    const char* targets[] = {"/dev/null", "/dev/zero", "/nonexistent/tty", "/tmp", "/etc/hostname"};
    std::set<int> terminals;
    for (int links = in.Byte() % 6; links > 0 && !in.Empty(); --links) {
        const auto raw = in.Take(in.Byte() % 8);
        std::string name(raw.begin(), raw.end());
        Require(AliasNumber(name) == ExpectedNumber(name),
                "an alias name read as the wrong number");
        if (name.empty() || name.find('/') != std::string::npos ||
            name.find('\0') != std::string::npos || name == "." || name == "..") {
            continue;
        }
        const int target = in.Byte() % 5;
        std::error_code error;
        std::filesystem::create_symlink(targets[target], folder / name, error);
        if (!error && target == 1 && ExpectedNumber(name) > 0) {
            terminals.insert(ExpectedNumber(name));
        }
    }
    const std::vector<PortAlias> aliases = ReadPortAliases(
        folder, [](const std::filesystem::path& device) { return device == "/dev/zero"; });
    std::set<int> numbers;
    for (const PortAlias& alias : aliases) {
        Require(terminals.contains(alias.number), "an alias that links to no terminal device");
        Require(numbers.insert(alias.number).second, "two aliases with one number");
    }
    Require(numbers == terminals, "an alias to a terminal device was left out");

    std::vector<SerialDevice> devices;
    for (int n = in.Byte() % 5; n > 0; --n) {
        const auto raw = in.Take(in.Byte() % 10);
        std::u16string kernel(raw.begin(), raw.end());
        devices.push_back({kernel, u"/dev/" + kernel});
    }
    const std::vector<SystemPort> ports = NumberPorts(aliases, devices);
    std::set<std::u16string> names;
    for (const SystemPort& port : ports) {
        Require(names.insert(port.data).second, "two ports with one number");
        Require(port.data.size() >= 4 && port.data.size() <= 6,
                "a port number beyond three digits");
    }
    return 0;
}
