#include "OutputLine.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <unistd.h>

namespace radiosim {

void OutputLine::push(std::vector<std::uint8_t> bytes, TimePoint notBefore) {
    if (bytes.empty()) {
        return;
    }
    if (!chunks_.empty()) {
        notBefore = std::max(notBefore, chunks_.back().notBefore);
    }
    chunks_.push_back({std::move(bytes), 0, notBefore});
}

std::size_t OutputLine::backlog() const {
    std::size_t total = 0;
    for (const Chunk& chunk : chunks_) {
        total += chunk.bytes.size() - chunk.sent;
    }
    return total;
}

OutputLine::Wait OutputLine::flush(int fd, TimePoint now) {
    while (!chunks_.empty()) {
        Chunk& chunk = chunks_.front();
        if (chunk.notBefore > now) {
            return {chunk.notBefore};
        }
        std::size_t count = chunk.bytes.size() - chunk.sent;
        const TimePoint start = std::max(lineFreeAt_, chunk.notBefore);
        if (paced_) {
            // A byte reaches the tool once its stop bit is through, one byte time after
            // the line started on it.
            const auto finished =
                now > start ? static_cast<std::size_t>((now - start) / kByteTime) : 0;
            if (finished == 0) {
                return {start + kByteTime};
            }
            count = std::min(count, finished);
        }
        const ssize_t written = ::write(fd, chunk.bytes.data() + chunk.sent, count);
        if (written < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
                return {std::nullopt, true};
            }
            throw std::system_error(errno, std::generic_category(), "write to pty");
        }
        const auto done = static_cast<std::size_t>(written);
        chunk.sent += done;
        if (paced_) {
            lineFreeAt_ = start + static_cast<Duration::rep>(done) * kByteTime;
        }
        if (chunk.sent == chunk.bytes.size()) {
            chunks_.pop_front();
        }
        if (done < count) {
            return {std::nullopt, true};
        }
    }
    return {};
}

} // namespace radiosim
