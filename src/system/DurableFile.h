#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

// The file operations a durable save is made of, one system call each, so a
// test can make any one of them fail. Each returns 0 or the errno of its
// failure (the Windows side maps its error codes to errno values), so
// SystemErrorText gives every reason.
class FileCalls {
  public:
    using Handle = std::intptr_t;

    virtual ~FileCalls() = default;
    // A file that must not exist yet, for writing.
    virtual int CreateNew(const std::filesystem::path& path, Handle& file) = 0;
    // A file for appending, created when missing.
    virtual int OpenAppend(const std::filesystem::path& path, Handle& file) = 0;
    // A folder, for syncing its entries.
    virtual int OpenFolder(const std::filesystem::path& path, Handle& folder) = 0;
    // One write of at most bytes.size() bytes; written tells how many went.
    virtual int Write(Handle file, std::span<const std::uint8_t> bytes, std::size_t& written) = 0;
    virtual int Size(Handle file, std::uint64_t& size) = 0;
    virtual int Truncate(Handle file, std::uint64_t size) = 0;
    // Data (and, for a folder, its entries) on the disk.
    virtual int Sync(Handle file) = 0;
    virtual int Close(Handle file) = 0;
    // Replaces to with from in one step.
    virtual int Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    virtual int Remove(const std::filesystem::path& path) = 0;
};

// The operating system's calls.
FileCalls& SystemFileCalls();

// Saves bytes as the file path, whole or not at all: a new temporary file in
// the same folder gets every byte (a write the system takes only in part is
// continued), is synced and closed, then renamed over path, and the folder
// is synced. Returns nullopt only when every step succeeded; otherwise the
// errno of the first step that failed, the temporary file removed and path as
// it was. One exception: when only the folder's sync fails, the rename has
// already replaced path with the whole new file.
std::optional<int> WriteFileDurably(const std::filesystem::path& path,
                                    std::span<const std::uint8_t> bytes,
                                    FileCalls& calls = SystemFileCalls());

// A file that grows by whole records, such as a log's rows: each record is
// handed to the system in one write and synced before Append returns. A
// record the system takes only in part is completed or, when that fails, cut
// off again, so the file never ends in half a record. After a failure the
// file is closed and takes no more records.
class RecordFile {
  public:
    explicit RecordFile(FileCalls& calls = SystemFileCalls()) : calls_(calls) {}
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Opens path for appending; a new or empty file starts with header.
    std::optional<int> Open(const std::filesystem::path& path,
                            std::span<const std::uint8_t> header);
    bool IsOpen() const { return open_; }
    std::optional<int> Append(std::span<const std::uint8_t> record);

  private:
    std::optional<int> Fail(int code);

    FileCalls& calls_;
    FileCalls::Handle file_ = 0;
    bool open_ = false;
};
