#include "Transcript.h"

#include <stdexcept>

namespace radiosim {

Transcript::Transcript(const std::optional<std::filesystem::path>& file, TimePoint start)
    : start_(start) {
    if (file) {
        file_ = std::fopen(file->c_str(), "a");
        if (file_ == nullptr) {
            throw std::runtime_error("cannot open transcript " + file->string());
        }
    }
}

Transcript::~Transcript() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

void Transcript::line(TimePoint now, std::string_view text) {
    if (file_ == nullptr) {
        return;
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now - start_).count();
    std::fprintf(file_, "%lld %.*s\n", static_cast<long long>(ms), static_cast<int>(text.size()),
                 text.data());
    std::fflush(file_);
}

} // namespace radiosim
