// The file operations of a durable save on POSIX systems.
#include "DurableFile.h"

#include <cerrno>
#include <cstdio>
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

int Opened(const std::filesystem::path& path, int flags, FileCalls::Handle& file,
           mode_t mode = 0666) {
    int fd = -1;
    const int error = Retried([&] { return fd = ::open(path.c_str(), flags | O_CLOEXEC, mode); });
    file = fd;
    return error;
}

int Fd(FileCalls::Handle file) {
    return static_cast<int>(file);
}

class PosixFileCalls final : public FileCalls {
  public:
    int CreateNew(const std::filesystem::path& path, Handle& file) override {
        return Opened(path, O_WRONLY | O_CREAT | O_EXCL, file, 0600);
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
    int RenameNoReplace(const std::filesystem::path& from,
                        const std::filesystem::path& to) override {
#ifdef RENAME_NOREPLACE
        const int renamed = Retried([&] {
            return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
        });
        // A filesystem without the flag says so; a hard link takes the name as
        // exclusively there.
        if (renamed != EINVAL && renamed != ENOSYS) {
            return renamed;
        }
#endif
        if (const int error = Retried([&] { return ::link(from.c_str(), to.c_str()); });
            error != 0) {
            return error;
        }
        Remove(from); // the file has its name; a second one left behind is only a stray entry
        return 0;
    }
    int Remove(const std::filesystem::path& path) override {
        return Retried([&] { return ::unlink(path.c_str()); });
    }
    int MakeFolder(const std::filesystem::path& path) override {
        return Retried([&] { return ::mkdir(path.c_str(), 0700); });
    }
};
} // namespace

FileCalls& SystemFileCalls() {
    static PosixFileCalls calls;
    return calls;
}
