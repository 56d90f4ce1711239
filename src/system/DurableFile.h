#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
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
    // A file that must not exist yet, for writing; only its owner may read
    // it, since the files saved so hold a radio's programming password.
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
    // Gives from the name to in one step, but only when no file has that name
    // yet: EEXIST when one has, whoever made it a moment ago.
    virtual int RenameNoReplace(const std::filesystem::path& from,
                                const std::filesystem::path& to) = 0;
    virtual int Remove(const std::filesystem::path& path) = 0;
    // A new folder that only its owner may enter; EEXIST when there is one.
    virtual int MakeFolder(const std::filesystem::path& path) = 0;
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

// The file a save under a free name took, or the errno of the first step
// that failed (the temporary file removed, no file of those names touched).
struct NewFile {
    std::filesystem::path path;
    std::optional<int> error;
};

// Saves bytes as a new file, whole or not at all, as WriteFileDurably does,
// but never over another file: the first of nameFor(1), nameFor(2), ... that
// no file has is taken, in one step with the rename, so two programs saving
// at the same moment keep both files. Every name lies in one folder.
NewFile WriteNewFileDurably(const std::function<std::filesystem::path(int attempt)>& nameFor,
                            std::span<const std::uint8_t> bytes,
                            FileCalls& calls = SystemFileCalls());

// Makes folder and every missing folder above it, each for its owner alone,
// and syncs each new one into its parent, so that a file saved inside cannot
// vanish with its folder after a power cut. nullopt when the folder exists or
// was made so; else the errno of the step that failed.
std::optional<int> MakeFoldersDurably(const std::filesystem::path& folder,
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
