// Saves and log rows under faults: every call of the file layer is made to
// fail in turn (or to take only part of a write), and the files on the disk
// are read back to see what a failure left.
#include "system/DurableFile.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {
enum class Fault {
    Error,         // the call fails with the errno of its kind
    Short,         // a write takes one byte and says nothing more
    ShortThenFull, // a write takes one byte; the next fails with ENOSPC
};

const std::map<std::string, int> ErrorOf{
    {"CreateNew", EACCES},
    {"OpenAppend", EACCES},
    {"OpenFolder", ENOENT},
    {"Write", ENOSPC},
    {"Size", EIO},
    {"Truncate", EIO},
    {"Sync", EIO},
    {"Close", EIO},
    {"Rename", EXDEV},
    {"Remove", EACCES},
    {"RenameNoReplace", EXDEV},
    {"MakeFolder", EROFS},
};

// The system's calls, the call number failAt (counted from 0) made faulty. A
// write takes at most 100 bytes, so a file of a few hundred bytes needs
// several and each of them is a point to fail at.
class FaultyCalls : public FileCalls {
  public:
    FaultyCalls(int failAt, Fault fault) : failAt_(failAt), fault_(fault) {}

    // The call that was made faulty, if the run got that far and it could be.
    std::string hit;
    bool hitFolder = false; // it was a call on a folder's handle
    int writes = 0;
    // The run made call failAt at all.
    bool Reached() const { return count_ > failAt_; }
    // Every call made, by name and the path it named ("" for a handle's).
    std::vector<std::pair<std::string, fs::path>> made;
    // Another program takes this name just before the first exclusive rename.
    std::optional<fs::path> takenAtRename;

    int CreateNew(const fs::path& p, Handle& f) override {
        return Call("CreateNew", std::nullopt, [&] { return real_.CreateNew(p, f); });
    }
    int OpenAppend(const fs::path& p, Handle& f) override {
        return Call("OpenAppend", std::nullopt, [&] { return real_.OpenAppend(p, f); });
    }
    int OpenFolder(const fs::path& p, Handle& f) override {
        made.emplace_back("OpenFolder", p);
        const int error = Call("OpenFolder", std::nullopt, [&] { return real_.OpenFolder(p, f); });
        folders_.insert(f);
        return error;
    }
    int Write(Handle f, std::span<const std::uint8_t> bytes, std::size_t& written) override {
        ++writes;
        const bool shortNow = IsShort();
        bytes = bytes.first(std::min<std::size_t>(bytes.size(), shortNow ? 1 : 100));
        return Call("Write", f, [&] { return real_.Write(f, bytes, written); });
    }
    int Size(Handle f, std::uint64_t& s) override {
        return Call("Size", f, [&] { return real_.Size(f, s); });
    }
    int Truncate(Handle f, std::uint64_t s) override {
        return Call("Truncate", f, [&] { return real_.Truncate(f, s); });
    }
    int Sync(Handle f) override {
        made.emplace_back(folders_.contains(f) ? "Sync folder" : "Sync", fs::path());
        return Call("Sync", f, [&] { return real_.Sync(f); });
    }
    int Close(Handle f) override {
        return Call("Close", f, [&] { return real_.Close(f); });
    }
    int Rename(const fs::path& from, const fs::path& to) override {
        return Call("Rename", std::nullopt, [&] { return real_.Rename(from, to); });
    }
    int RenameNoReplace(const fs::path& from, const fs::path& to) override {
        if (takenAtRename) {
            WriteBytes(*std::exchange(takenAtRename, std::nullopt), "another program's");
        }
        made.emplace_back("RenameNoReplace", to);
        return Call("RenameNoReplace", std::nullopt,
                    [&] { return real_.RenameNoReplace(from, to); });
    }
    int Remove(const fs::path& p) override {
        return Call("Remove", std::nullopt, [&] { return real_.Remove(p); });
    }
    int MakeFolder(const fs::path& p) override {
        made.emplace_back("MakeFolder", p);
        return Call("MakeFolder", std::nullopt, [&] { return real_.MakeFolder(p); });
    }

  private:
    bool IsShort() const { return count_ == failAt_ && fault_ != Fault::Error; }

    // f: the handle a call works on; none for a call on a path.
    template <typename RealCall>
    int Call(const std::string& name, std::optional<Handle> f, RealCall real) {
        const int number = count_++;
        const bool failNow = (number == failAt_ && fault_ == Fault::Error) ||
                             (number == failAt_ + 1 && fault_ == Fault::ShortThenFull &&
                              !hit.empty() && name == "Write");
        if (number == failAt_ && (fault_ == Fault::Error || name == "Write")) {
            hit = name;
            hitFolder = f && folders_.contains(*f);
        }
        if (failNow) {
            if (name == "Close") {
                real(); // a close that fails has let go of the file all the same
            }
            return ErrorOf.at(name);
        }
        return real();
    }

    FileCalls& real_ = SystemFileCalls();
    int failAt_;
    Fault fault_;
    int count_ = 0;
    std::set<Handle> folders_;
};

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::set<std::string> Listing(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// 256 bytes that are not the old file's.
std::string NewImage() {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes += static_cast<char>(i * 7 + 3);
    }
    return bytes;
}

struct SaveStart {
    const char* name;
    bool targetExists;
    bool staleTemporary; // a temporary left by a run that died
};

const SaveStart SaveStarts[] = {
    {"ReplacesAFile", true, false},
    {"MakesANewFile", false, false},
    {"PassesAStaleTemporaryBy", true, true},
};

const Fault AllFaults[] = {Fault::Error, Fault::Short, Fault::ShortThenFull};
} // namespace

TEST(WriteFileDurably, EveryFailingStepLeavesTheTargetAsItWasAndSaysWhy) {
    const std::string old = "the radio as it was\n";
    std::set<std::string> steps; // every call that was made to fail
    for (const SaveStart& start : SaveStarts) {
        for (const Fault fault : AllFaults) {
            for (int n = 0;; ++n) {
                TempDir temp;
                const fs::path target = temp.Path() / "radio.bin";
                if (start.targetExists) {
                    WriteBytes(target, old);
                }
                if (start.staleTemporary) {
                    WriteBytes(temp.Path() / ".radio.bin.0.tmp", "stale");
                }
                const std::set<std::string> before = Listing(temp.Path());
                FaultyCalls calls(n, fault);
                const std::optional<int> result =
                    WriteFileDurably(target, Bytes(NewImage()), calls);
                if (!calls.Reached()) {
                    break; // every call of a whole save has had its turn
                }
                if (calls.hit.empty()) {
                    continue; // a short write's fault at a call that is no write
                }
                steps.insert(calls.hit + (calls.hitFolder ? " folder" : ""));
                const std::string name = std::string(start.name) + ", call " + std::to_string(n) +
                                         " " + calls.hit + ", fault " +
                                         std::to_string(static_cast<int>(fault));
                // A short write is continued; the close of the folder's
                // handle comes after its entries were synced.
                const bool harmless =
                    fault == Fault::Short || (calls.hit == "Close" && calls.hitFolder);
                std::set<std::string> after = before;
                after.insert("radio.bin");
                if (harmless) {
                    EXPECT_EQ(result, std::nullopt) << name;
                    EXPECT_EQ(ReadBytes(target), NewImage()) << name;
                    EXPECT_EQ(Listing(temp.Path()), after) << name;
                    continue;
                }
                const int expected = fault == Fault::Error ? ErrorOf.at(calls.hit) : ENOSPC;
                EXPECT_EQ(result, expected) << name;
                if (calls.hit == "Sync" && calls.hitFolder) {
                    // The rename was done: the new file is whole, just not claimed.
                    EXPECT_EQ(ReadBytes(target), NewImage()) << name;
                    EXPECT_EQ(Listing(temp.Path()), after) << name;
                    continue;
                }
                EXPECT_EQ(Listing(temp.Path()), before) << name << ": no temporary left";
                if (start.targetExists) {
                    EXPECT_EQ(ReadBytes(target), old) << name;
                }
            }
        }
    }
    EXPECT_EQ(steps, (std::set<std::string>{"OpenFolder", "CreateNew", "Write", "Sync", "Close",
                                            "Rename", "Sync folder", "Close folder"}));
}

TEST(WriteFileDurably, FailsWhereTheFolderIsMissing) {
    TempDir temp;
    EXPECT_EQ(WriteFileDurably(temp.Path() / "none" / "radio.bin", Bytes("x")), ENOENT);
}

namespace {
const std::string Header = "time_utc,serial_no\n";
const std::vector<std::string> Rows = {std::string(150, 'a') + "\n", std::string(40, 'b') + "\n",
                                       std::string(230, 'c') + "\n"};
} // namespace

// After any fault the file holds the header and whole rows only: exactly the
// rows whose Append said they were saved.
TEST(RecordFile, AFailedRowIsCutOffAndTheFileTakesNoMore) {
    const std::string earlier = Header + "an earlier run's row\n";
    std::set<std::string> steps;
    for (const bool exists : {false, true}) {
        for (const Fault fault : AllFaults) {
            for (int n = 0;; ++n) {
                TempDir temp;
                const fs::path path = temp.Path() / "batch.csv";
                if (exists) {
                    WriteBytes(path, earlier);
                }
                FaultyCalls calls(n, fault);
                std::string expected = exists ? earlier : "";
                std::optional<int> failure;
                {
                    RecordFile file(calls);
                    failure = file.Open(path, Bytes(Header));
                    if (!failure && !exists) {
                        expected = Header;
                    }
                    for (const std::string& row : Rows) {
                        const std::optional<int> appended = file.Append(Bytes(row));
                        if (!appended) {
                            expected += row;
                        }
                        failure = failure ? failure : appended;
                    }
                }
                if (!calls.Reached()) {
                    break;
                }
                if (calls.hit.empty()) {
                    continue;
                }
                steps.insert(calls.hit + (calls.hitFolder ? " folder" : ""));
                const std::string name = "exists " + std::to_string(exists) + ", call " +
                                         std::to_string(n) + " " + calls.hit + ", fault " +
                                         std::to_string(static_cast<int>(fault));
                const bool harmless = fault == Fault::Short ||
                                      (calls.hit == "Close" && (calls.hitFolder || !failure));
                if (harmless) {
                    EXPECT_EQ(failure, std::nullopt) << name;
                } else {
                    EXPECT_EQ(failure, fault == Fault::Error ? ErrorOf.at(calls.hit) : ENOSPC)
                        << name;
                }
                EXPECT_EQ(ReadBytes(path), expected) << name;
            }
        }
    }
    EXPECT_EQ(steps, (std::set<std::string>{"OpenAppend", "Size", "OpenFolder", "Sync folder",
                                            "Close folder", "Write", "Sync", "Close"}));
}

TEST(RecordFile, EachRowIsOneWrite) {
    TempDir temp;
    FaultyCalls calls(-1, Fault::Error);
    RecordFile file(calls);
    ASSERT_EQ(file.Open(temp.Path() / "batch.csv", Bytes("h\n")), std::nullopt);
    const int before = calls.writes;
    for (const std::string row : {"1\n", "22\n", "333\n"}) {
        ASSERT_EQ(file.Append(Bytes(row)), std::nullopt);
    }
    EXPECT_EQ(calls.writes - before, 3);
    EXPECT_EQ(ReadBytes(temp.Path() / "batch.csv"), "h\n1\n22\n333\n");
}

namespace {
struct NewFileStart {
    const char* name;
    bool firstTaken;     // a file of the first name is there before the save
    bool takenAtRename;  // another program takes the first name during the save
    bool staleTemporary; // a temporary left by a run that died
};

const NewFileStart NewFileStarts[] = {
    {"FirstNameFree", false, false, false},
    {"FirstNameTaken", true, false, false},
    {"TakenByAnotherProgramMeanwhile", false, true, false},
    {"PassesAStaleTemporaryBy", false, false, true},
};

fs::path NameFor(const fs::path& folder, int attempt) {
    return folder / ("radio-" + std::to_string(attempt) + ".bin");
}
} // namespace

// A save under a free name never replaces a file: a name taken before or
// during the save is passed over, and a failure leaves no file behind.
TEST(WriteNewFileDurably, TakesTheFirstFreeNameOrLeavesTheFolderAsItWas) {
    std::set<std::string> steps;
    for (const NewFileStart& start : NewFileStarts) {
        for (const Fault fault : AllFaults) {
            for (int n = -1;; ++n) {
                TempDir temp;
                const fs::path first = NameFor(temp.Path(), 1);
                if (start.firstTaken) {
                    WriteBytes(first, "another program's");
                }
                if (start.staleTemporary) {
                    WriteBytes(temp.Path() / ".radio-1.bin.0.tmp", "stale");
                }
                FaultyCalls calls(n, fault);
                if (start.takenAtRename) {
                    calls.takenAtRename = first;
                }
                const NewFile saved =
                    WriteNewFileDurably([&](int attempt) { return NameFor(temp.Path(), attempt); },
                                        Bytes(NewImage()), calls);
                if (n >= 0 && !calls.Reached()) {
                    break;
                }
                const std::string name =
                    std::string(start.name) + ", call " + std::to_string(n) + " " + calls.hit;
                // The other program's file, there before or made during the save.
                const bool othersFirst =
                    start.firstTaken || (start.takenAtRename && !calls.takenAtRename);
                std::set<std::string> expected;
                if (start.staleTemporary) {
                    expected.insert(".radio-1.bin.0.tmp");
                }
                if (othersFirst) {
                    expected.insert("radio-1.bin");
                    EXPECT_EQ(ReadBytes(first), "another program's") << name;
                }
                const fs::path free = NameFor(temp.Path(), othersFirst ? 2 : 1);
                steps.insert(calls.hit + (calls.hitFolder ? " folder" : ""));
                const bool harmless = n < 0 || fault == Fault::Short || calls.hit.empty() ||
                                      (calls.hit == "Close" && calls.hitFolder);
                const bool named = harmless || (calls.hit == "Sync" && calls.hitFolder);
                if (named) {
                    expected.insert(free.filename().string());
                    EXPECT_EQ(ReadBytes(free), NewImage()) << name;
                    EXPECT_EQ(saved.path, harmless ? free : fs::path()) << name;
                }
                EXPECT_EQ(Listing(temp.Path()), expected) << name << ": no temporary left";
                if (harmless) {
                    EXPECT_EQ(saved.error, std::nullopt) << name;
                } else {
                    EXPECT_EQ(saved.error, fault == Fault::Error ? ErrorOf.at(calls.hit) : ENOSPC)
                        << name;
                }
            }
        }
    }
    EXPECT_EQ(steps, (std::set<std::string>{"", "OpenFolder", "CreateNew", "Write", "Sync", "Close",
                                            "RenameNoReplace", "Sync folder", "Close folder"}));
}

// Every folder made is synced into its parent before the next one is made
// inside it, and a failure at any step says why.
TEST(MakeFoldersDurably, SyncsEachNewFolderIntoItsParent) {
    std::set<std::string> steps;
    for (int n = -1;; ++n) {
        TempDir temp;
        fs::create_directory(temp.Path() / "backups");
        const fs::path folder = temp.Path() / "backups" / "2026-12-07" / "shelf 2";
        FaultyCalls calls(n, Fault::Error);
        const std::optional<int> error = MakeFoldersDurably(folder, calls);
        if (n >= 0 && !calls.Reached()) {
            break;
        }
        steps.insert(calls.hit + (calls.hitFolder ? " folder" : ""));
        const std::string name = "call " + std::to_string(n) + " " + calls.hit;
        const bool harmless = n < 0 || (calls.hit == "Close" && calls.hitFolder);
        EXPECT_EQ(error, harmless ? std::nullopt : std::optional(ErrorOf.at(calls.hit))) << name;
        if (!harmless) {
            continue;
        }
        EXPECT_TRUE(fs::is_directory(folder)) << name;
        // The folders made, each followed by its parent's sync before the next.
        std::vector<fs::path> synced;
        std::optional<fs::path> pending;
        for (const auto& [call, path] : calls.made) {
            if (call == "MakeFolder" && fs::is_directory(path) && !pending) {
                pending = path;
            } else if (call == "OpenFolder" && pending && path == pending->parent_path()) {
                continue;
            } else if (call == "Sync folder" && pending) {
                synced.push_back(*std::exchange(pending, std::nullopt));
            }
        }
        EXPECT_EQ(synced, (std::vector<fs::path>{temp.Path() / "backups" / "2026-12-07", folder}))
            << name;
    }
    EXPECT_EQ(steps, (std::set<std::string>{"", "MakeFolder", "OpenFolder", "Sync folder",
                                            "Close folder"}));
}

#ifndef _WIN32
// What holds a radio's password is its owner's alone, whatever the umask.
TEST(DurableFiles, AreTheOwnersAlone) {
    for (const mode_t mask : {mode_t{022}, mode_t{077}, mode_t{0}}) {
        TempDir temp;
        const mode_t before = ::umask(mask);
        const fs::path folder = temp.Path() / "new" / "folder";
        const std::optional<int> made = MakeFoldersDurably(folder);
        const NewFile saved = WriteNewFileDurably(
            [&](int attempt) { return folder / (std::to_string(attempt) + ".bin"); },
            Bytes(NewImage()));
        const std::optional<int> replaced = WriteFileDurably(folder / "save.bin", Bytes("x"));
        ::umask(before);
        ASSERT_EQ(made, std::nullopt);
        ASSERT_EQ(saved.error, std::nullopt);
        ASSERT_EQ(replaced, std::nullopt);
        const auto mode = [](const fs::path& path) {
            return fs::status(path).permissions() & fs::perms::all;
        };
        using fs::perms;
        EXPECT_EQ(mode(temp.Path() / "new"), perms::owner_all) << mask;
        EXPECT_EQ(mode(folder), perms::owner_all) << mask;
        for (const fs::path& file : {saved.path, folder / "save.bin"}) {
            EXPECT_EQ(mode(file), perms::owner_read | perms::owner_write) << mask;
        }
    }
}
#endif
