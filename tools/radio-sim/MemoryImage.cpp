#include "MemoryImage.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace radiosim {

Memory loadImage(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open image " + file.string());
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    if (bytes.size() != kAreaSize) {
        throw std::runtime_error("image " + file.string() + " has " + std::to_string(bytes.size()) +
                                 " bytes, expected " + std::to_string(kAreaSize));
    }
    Memory memory{};
    for (std::size_t i = 0; i < kAreaSize; ++i) {
        memory[i] = static_cast<std::uint8_t>(bytes[i]);
    }
    return memory;
}

void saveImage(const std::filesystem::path& file, const Memory& memory) {
    std::filesystem::path temporary = file;
    temporary += ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(memory.data()),
                  static_cast<std::streamsize>(memory.size()));
        if (!out.flush()) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            throw std::runtime_error("cannot write " + temporary.string());
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, file, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        throw std::runtime_error("cannot replace " + file.string());
    }
}

} // namespace radiosim
