// The file operations of a durable save on POSIX systems.
#include "DurableFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A call interrupted by a signal (Ctrl+C reaches the tool as one) is made
// again; any other failure is the call's result.
template <typename Call> int Retried(Call call) {
    while (call() < 0) {
        if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
}

int Opened(const std::filesystem::path& path, int flags, FileCalls::Handle& file) {
    int fd = -1;
    const int error = Retried([&] { return fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666); });
    file = fd;
    return error;
}

int Fd(FileCalls::Handle file) {
    return static_cast<int>(file);
}

class PosixFileCalls final : public FileCalls {
  public:
    int CreateNew(const std::filesystem::path& path, Handle& file) override {
        return Opened(path, O_WRONLY | O_CREAT | O_EXCL, file);
    }
    int OpenAppend(const std::filesystem::path& path, Handle& file) override {
        return Opened(path, O_WRONLY | O_CREAT | O_APPEND, file);
    }
    int OpenFolder(const std::filesystem::path& path, Handle& folder) override {
        return Opened(path, O_RDONLY | O_DIRECTORY, folder);
    }
    int Write(Handle file, std::span<const std::uint8_t> bytes, std::size_t& written) override {
        ssize_t count = 0;
        const int error =
            Retried([&] { return count = ::write(Fd(file), bytes.data(), bytes.size()); });
        written = error == 0 ? static_cast<std::size_t>(count) : 0;
        return error;
    }
    int Size(Handle file, std::uint64_t& size) override {
        struct stat status {};
        const int error = Retried([&] { return ::fstat(Fd(file), &status); });
        size = error == 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
        return error;
    }
    int Truncate(Handle file, std::uint64_t size) override {
        return Retried([&] { return ::ftruncate(Fd(file), static_cast<off_t>(size)); });
    }
    int Sync(Handle file) override {
        return Retried([&] { return ::fsync(Fd(file)); });
    }
    int Close(Handle file) override {
        // Not made again after EINTR: on Linux the descriptor is gone by then.
        return ::close(Fd(file)) == 0 || errno == EINTR ? 0 : errno;
    }
    int Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        return Retried([&] { return ::rename(from.c_str(), to.c_str()); });
    }
    int Remove(const std::filesystem::path& path) override {
        return Retried([&] { return ::unlink(path.c_str()); });
    }
};
} // namespace

FileCalls& SystemFileCalls() {
    static PosixFileCalls calls;
    return calls;
}
