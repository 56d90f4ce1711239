#include "DurableFile.h"

#include <cerrno>
#include <string>
#include <utility>
#include <vector>

namespace {
using Handle = FileCalls::Handle;

// Tries for a temporary name before giving up: stale ones of runs that died
// are passed over.
constexpr int TemporaryNames = 100;

// Every byte, however many writes the system needs for them.
int WriteAll(FileCalls& calls, Handle file, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        std::size_t written = 0;
        if (const int error = calls.Write(file, bytes, written); error != 0) {
            return error;
        }
        if (written == 0) {
            return EIO; // a write that takes nothing and says nothing would loop for ever
        }
        bytes = bytes.subspan(written);
    }
    return 0;
}

std::filesystem::path FolderOf(const std::filesystem::path& path) {
    const std::filesystem::path folder = path.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

// A new file beside target, named .<name>.<n>.tmp with the first free n.
int CreateTemporary(FileCalls& calls, const std::filesystem::path& target,
                    std::filesystem::path& temporary, Handle& file) {
    int error = EEXIST;
    for (int n = 0; n < TemporaryNames && error == EEXIST; ++n) {
        std::filesystem::path name(".");
        name += target.filename().native();
        name += "." + std::to_string(n) + ".tmp";
        temporary = FolderOf(target) / name;
        error = calls.CreateNew(temporary, file);
    }
    return error;
}

// The bytes into a new temporary file beside target, synced and closed; on
// failure it is removed again.
int WriteTemporary(FileCalls& calls, const std::filesystem::path& target,
                   std::span<const std::uint8_t> bytes, std::filesystem::path& temporary) {
    Handle file = 0;
    if (const int error = CreateTemporary(calls, target, temporary, file); error != 0) {
        return error;
    }
    int error = WriteAll(calls, file, bytes);
    if (error == 0) {
        error = calls.Sync(file);
    }
    // Closing can report a write the system had put off; it counts.
    const int closed = calls.Close(file);
    if (error == 0) {
        error = closed;
    }
    if (error != 0) {
        calls.Remove(temporary);
    }
    return error;
}

// The bytes into a temporary file, then renamed over target.
int ReplaceWith(FileCalls& calls, const std::filesystem::path& target,
                std::span<const std::uint8_t> bytes) {
    std::filesystem::path temporary;
    if (const int error = WriteTemporary(calls, target, bytes, temporary); error != 0) {
        return error;
    }
    const int error = calls.Rename(temporary, target);
    if (error != 0) {
        calls.Remove(temporary);
    }
    return error;
}

// Enough names for every copy a folder can hold of one radio in one second.
constexpr int FreeNameAttempts = 1000;

// The bytes into a temporary file, then given the first free name.
int TakeFreeName(FileCalls& calls, const std::function<std::filesystem::path(int attempt)>& nameFor,
                 std::span<const std::uint8_t> bytes, std::filesystem::path& taken) {
    std::filesystem::path temporary;
    if (const int error = WriteTemporary(calls, nameFor(1), bytes, temporary); error != 0) {
        return error;
    }
    int error = EEXIST;
    for (int attempt = 1; attempt <= FreeNameAttempts && error == EEXIST; ++attempt) {
        taken = nameFor(attempt);
        error = calls.RenameNoReplace(temporary, taken);
    }
    if (error != 0) {
        calls.Remove(temporary);
        taken.clear();
    }
    return error;
}

// A folder's entries onto the disk. A filesystem that cannot sync a folder at
// all says EINVAL: there the rename is as durable as that filesystem makes it.
int SyncFolder(FileCalls& calls, Handle folder) {
    const int error = calls.Sync(folder);
    return error == EINVAL ? 0 : error;
}

std::optional<int> Failure(int error) {
    return error == 0 ? std::nullopt : std::optional<int>(error);
}
} // namespace

std::optional<int> WriteFileDurably(const std::filesystem::path& path,
                                    std::span<const std::uint8_t> bytes, FileCalls& calls) {
    // The folder is opened first: where it cannot be synced, nothing is touched.
    Handle folder = 0;
    int error = calls.OpenFolder(FolderOf(path), folder);
    if (error != 0) {
        return error;
    }
    error = ReplaceWith(calls, path, bytes);
    if (error == 0) {
        error = SyncFolder(calls, folder);
    }
    calls.Close(folder); // a read-only handle: its entries are synced or not by now
    return Failure(error);
}

NewFile WriteNewFileDurably(const std::function<std::filesystem::path(int attempt)>& nameFor,
                            std::span<const std::uint8_t> bytes, FileCalls& calls) {
    NewFile saved;
    Handle folder = 0;
    int error = calls.OpenFolder(FolderOf(nameFor(1)), folder);
    if (error != 0) {
        saved.error = error;
        return saved;
    }
    error = TakeFreeName(calls, nameFor, bytes, saved.path);
    if (error == 0) {
        error = SyncFolder(calls, folder);
    }
    calls.Close(folder);
    if (error != 0) {
        saved.path.clear(); // not claimed, even where the name was taken
        saved.error = error;
    }
    return saved;
}

// From the top down: a folder's entry is synced into its parent before
// anything is made inside it.
std::optional<int> MakeFoldersDurably(const std::filesystem::path& folder, FileCalls& calls) {
    std::vector<std::filesystem::path> missing;
    std::error_code unknown;
    for (std::filesystem::path part = folder;
         !part.empty() && !std::filesystem::exists(part, unknown); part = part.parent_path()) {
        missing.push_back(part);
        if (part == part.parent_path()) {
            break;
        }
    }
    for (auto part = missing.rbegin(); part != missing.rend(); ++part) {
        int error = calls.MakeFolder(*part);
        if (error == EEXIST) {
            continue; // made a moment ago by another program, which syncs it
        }
        Handle parent = 0;
        if (error == 0) {
            error = calls.OpenFolder(FolderOf(*part), parent);
        }
        if (error == 0) {
            error = SyncFolder(calls, parent);
            calls.Close(parent);
        }
        if (error != 0) {
            return error;
        }
    }
    return std::nullopt;
}

RecordFile::~RecordFile() {
    if (open_) {
        calls_.Close(file_);
    }
}

std::optional<int> RecordFile::Open(const std::filesystem::path& path,
                                    std::span<const std::uint8_t> header) {
    if (const int error = calls_.OpenAppend(path, file_); error != 0) {
        return error;
    }
    open_ = true;
    std::uint64_t size = 0;
    if (const int error = calls_.Size(file_, size); error != 0) {
        return Fail(error);
    }
    if (size != 0) {
        return std::nullopt;
    }
    // A file just made: its name onto the disk before its first record.
    Handle folder = 0;
    int error = calls_.OpenFolder(FolderOf(path), folder);
    if (error == 0) {
        error = SyncFolder(calls_, folder);
        calls_.Close(folder);
    }
    return error == 0 ? Append(header) : Fail(error);
}

std::optional<int> RecordFile::Append(std::span<const std::uint8_t> record) {
    if (!open_) {
        return EBADF;
    }
    std::uint64_t start = 0;
    if (const int error = calls_.Size(file_, start); error != 0) {
        return Fail(error);
    }
    int error = WriteAll(calls_, file_, record);
    if (error == 0) {
        error = calls_.Sync(file_);
    }
    if (error == 0) {
        return std::nullopt;
    }
    // Whatever part of the record went in is cut off again, so the next run
    // appends after whole records.
    if (calls_.Truncate(file_, start) == 0) {
        calls_.Sync(file_);
    }
    return Fail(error);
}

std::optional<int> RecordFile::Fail(int code) {
    calls_.Close(file_);
    open_ = false;
    return code;
}
