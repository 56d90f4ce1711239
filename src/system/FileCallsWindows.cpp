// The file operations of a durable save on Windows. Tried under Wine
// (scripts/test-windows), not yet on Windows itself.
#include "DurableFile.h"
#include "WindowsApi.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

namespace {
// The Windows error codes a save meets, as the errno values SystemErrorText
// words; any other is an input/output error.
int ErrnoOf(DWORD code) {
    constexpr std::array<std::pair<DWORD, int>, 12> codes{{
        {ERROR_FILE_NOT_FOUND, ENOENT},
        {ERROR_PATH_NOT_FOUND, ENOENT},
        {ERROR_ACCESS_DENIED, EACCES},
        {ERROR_SHARING_VIOLATION, EACCES},
        {ERROR_LOCK_VIOLATION, EACCES},
        {ERROR_FILE_EXISTS, EEXIST},
        {ERROR_ALREADY_EXISTS, EEXIST},
        {ERROR_DISK_FULL, ENOSPC},
        {ERROR_HANDLE_DISK_FULL, ENOSPC},
        {ERROR_WRITE_PROTECT, EROFS},
        {ERROR_NOT_SAME_DEVICE, EXDEV},
        {ERROR_INVALID_NAME, EINVAL},
    }};
    const auto found = std::find_if(codes.begin(), codes.end(),
                                    [code](const auto& row) { return row.first == code; });
    return found != codes.end() ? found->second : EIO;
}

int LastError() {
    return ErrnoOf(GetLastError());
}

int Checked(BOOL succeeded) {
    return succeeded ? 0 : LastError();
}

HANDLE Native(FileCalls::Handle file) {
    return reinterpret_cast<HANDLE>(file);
}

int Opened(HANDLE handle, FileCalls::Handle& file) {
    file = reinterpret_cast<FileCalls::Handle>(handle);
    return handle == INVALID_HANDLE_VALUE ? LastError() : 0;
}

// Windows syncs no folder: MoveFileExW with MOVEFILE_WRITE_THROUGH returns
// only once the rename is on the disk. The folder is this empty handle.
constexpr FileCalls::Handle NoFolder = 0;

class WindowsFileCalls final : public FileCalls {
  public:
    int CreateNew(const std::filesystem::path& path, Handle& file) override {
        return Opened(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr),
                      file);
    }
    int OpenAppend(const std::filesystem::path& path, Handle& file) override {
        const int error = Opened(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr),
                                 file);
        return error != 0 ? error : Checked(SetFilePointerEx(Native(file), {}, nullptr, FILE_END));
    }
    int OpenFolder(const std::filesystem::path&, Handle& folder) override {
        folder = NoFolder;
        return 0;
    }
    int Write(Handle file, std::span<const std::uint8_t> bytes, std::size_t& written) override {
        DWORD count = 0;
        const auto size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), MAXDWORD));
        const int error = Checked(WriteFile(Native(file), bytes.data(), size, &count, nullptr));
        written = count;
        return error;
    }
    int Size(Handle file, std::uint64_t& size) override {
        LARGE_INTEGER value{};
        const int error = Checked(GetFileSizeEx(Native(file), &value));
        size = static_cast<std::uint64_t>(value.QuadPart);
        return error;
    }
    int Truncate(Handle file, std::uint64_t size) override {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(size);
        const int error = Checked(SetFilePointerEx(Native(file), at, nullptr, FILE_BEGIN));
        return error != 0 ? error : Checked(SetEndOfFile(Native(file)));
    }
    int Sync(Handle file) override {
        return file == NoFolder ? 0 : Checked(FlushFileBuffers(Native(file)));
    }
    int Close(Handle file) override {
        return file == NoFolder ? 0 : Checked(CloseHandle(Native(file)));
    }
    int Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        return Checked(MoveFileExW(from.c_str(), to.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    }
    // Without MOVEFILE_REPLACE_EXISTING the move fails where the name is taken.
    int RenameNoReplace(const std::filesystem::path& from,
                        const std::filesystem::path& to) override {
        return Checked(MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH));
    }
    int Remove(const std::filesystem::path& path) override {
        return Checked(DeleteFileW(path.c_str()));
    }
    // A folder under the user's profile is the user's alone already.
    int MakeFolder(const std::filesystem::path& path) override {
        return Checked(CreateDirectoryW(path.c_str(), nullptr));
    }
};
} // namespace

FileCalls& SystemFileCalls() {
    static WindowsFileCalls calls;
    return calls;
}
