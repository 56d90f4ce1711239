// Reads, wrong writes and `restore --latest` drawn at random against radios
// whose serial numbers are erased, empty, blank, made of control characters,
// repeated, or alike in a file name, on a clock that jumps back and forth and
// stands still, with the radio failing at any command of an operation. After
// each run, the test's own model of the rules says which copies each radio
// has, which one `restore --latest` takes and what the radio holds; the
// kept-reads folder and radio-sim's memory must agree with it.
//
// RADIOINFO_RESTORE_STEPS=N sets the number of runs (default 150),
// RADIOINFO_SEED=S replays a failure.
#include "Processes.h"
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "doubles/AreaMap.h"
#include "system/KeptReads.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {
using area::Memory;

// clang-format off
const struct TestRadio {
    const char* what;
    std::string serial; // the bytes at 0x20, 0x00 after them
    bool proves;        // names one radio
} Radios[] = {
    {"a serial number",               "2026120100000005",          true},
    {"another radio with that one",   "2026120100000005",          true},
    {"甲0001",                        "\xBC\xD7" "0001",           true},
    {"乙0001, one file name with 甲", "\xD2\xD2" "0001",           true},
    {"slashes and dots",              "../A/1",                    true},
    {"partly erased, shows 2026",     "2026\xFF" "0000000005",    true},
    {"partly erased, shows 2026 too", "2026\xFF" "0000000006",    true},
    {"erased",                        std::string(16, '\xFF'),     false},
    {"empty",                         "",                          false},
    {"blanks",                        "    ",                        false},
    {"control characters only",       "\x01\x1b\x07\x7f",           false},
};
// clang-format on
constexpr std::size_t RadioCount = std::size(Radios);

using area::Named;

// The bits a dealer's write or a restore sets, by the test's own map.
Memory DealerMask() {
    Memory mask{};
    for (const area::Field& field : area::Fields) {
        if (!field.Written) {
            continue;
        }
        const std::uint8_t bits =
            field.Type == area::Kind::Flags ? area::DealerFlagBits : std::uint8_t{0xFF};
        std::fill_n(mask.begin() + static_cast<std::ptrdiff_t>(field.Offset), field.Width, bits);
    }
    return mask;
}

// A radio of the model, with its dealer settings and the given serial number.
Memory RadioMemory(std::size_t radio) {
    Memory m{};
    for (std::size_t i = 0; i < m.size(); ++i) {
        m[i] = static_cast<std::uint8_t>(i * 13 + radio);
    }
    const std::string fixed = "KVT4610V110";
    std::copy(fixed.begin(), fixed.end(), m.begin());
    m[Named("BandCode").Offset] = 1;
    const area::Field& serial = Named("SerialNo");
    std::fill_n(m.begin() + static_cast<std::ptrdiff_t>(serial.Offset), serial.Width, 0);
    std::copy(Radios[radio].serial.begin(), Radios[radio].serial.end(),
              m.begin() + static_cast<std::ptrdiff_t>(serial.Offset));
    return m;
}

// One kept copy, as the model keeps it.
struct Copy {
    Memory bytes;
    std::size_t radio; // whose it is (radios of one serial number are alike)
    bool beforeRestore;
};

// Two radios are one to every tool when their serial numbers prove and the
// whole field matches, the bytes after an erased byte included.
bool Alike(std::size_t a, std::size_t b) {
    return Radios[a].proves && Radios[a].serial == Radios[b].serial;
}

struct Model {
    std::vector<Memory> radios;
    std::vector<Copy> kept; // in the order of keeping
    Memory mask = DealerMask();

    std::optional<Copy> Latest(std::size_t radio) const {
        for (auto copy = kept.rbegin(); copy != kept.rend(); ++copy) {
            if (Alike(copy->radio, radio) && !copy->beforeRestore) {
                return *copy;
            }
        }
        return std::nullopt;
    }
    bool HoldsDealerBytes(std::size_t radio, const Memory& file) const {
        for (std::size_t i = 0; i < file.size(); ++i) {
            if (((radios[radio][i] ^ file[i]) & mask[i]) != 0) {
                return false;
            }
        }
        return true;
    }
    // The W block at offset went in: its dealer bits are the file's.
    void Take(std::size_t radio, const Memory& file, std::size_t block) {
        for (std::size_t i = block; i < block + 16; ++i) {
            radios[radio][i] =
                static_cast<std::uint8_t>((radios[radio][i] & ~mask[i]) | (file[i] & mask[i]));
        }
    }
};

// A run reads the radio in full first: PROGRAM, sixteen R and END. A write
// then sends PROGRAM, reads three blocks, sends the blocks of the tests' map
// of the area one W each, and END; a restore reads the radio in full again.
constexpr int ReadEnd = 18;
constexpr int FirstW = ReadEnd + 5;

// The blocks a write sends, and the number of each one's W in such a run.
const std::vector<std::pair<std::size_t, int>> WrittenBlocks = [] {
    std::vector<std::pair<std::size_t, int>> blocks;
    for (const std::size_t block : area::WrittenBlocks()) {
        blocks.emplace_back(block, FirstW + static_cast<int>(blocks.size()));
    }
    return blocks;
}();
const int WriteEnd = FirstW + static_cast<int>(WrittenBlocks.size());
const int ReadBackEnd = WriteEnd + ReadEnd;

// The number of the W that sends the block holding a field.
int WriteOf(const area::Field& field) {
    for (const auto& [block, command] : WrittenBlocks) {
        if (field.Offset >= block && field.Offset < block + 16) {
            return command;
        }
    }
    throw std::out_of_range(field.Name);
}

enum class Op { Read, WrongWrite, RestoreLatest };

// What the model says a run does: its status, and the radio at the last END
// it acknowledged (radio-sim's saved memory), if any.
struct Outcome {
    int status = 0;
    std::optional<Memory> atLastEnd;
};

// A failure at command n (0: none) of a run.
bool Reached(int n, int command) {
    return n == 0 || n > command;
}

Outcome Predict(Model& model, Op op, std::size_t radio, int fault, const std::string& seller) {
    Outcome out;
    if (!Reached(fault, ReadEnd)) {
        out.status = 4;
        return out;
    }
    Memory& memory = model.radios[radio];
    out.atLastEnd = memory;
    if (op == Op::Read) {
        model.kept.push_back({memory, radio, false});
        return out;
    }
    if (op == Op::WrongWrite) {
        model.kept.push_back({memory, radio, false});
        const area::Field& field = Named("Seller");
        if (Reached(fault, WriteOf(field))) {
            std::fill_n(memory.begin() + static_cast<std::ptrdiff_t>(field.Offset), field.Width, 0);
            std::copy(seller.begin(), seller.end(),
                      memory.begin() + static_cast<std::ptrdiff_t>(field.Offset));
        }
        out.status = Reached(fault, WriteEnd) ? 0 : 4;
        if (out.status == 0) {
            out.atLastEnd = memory;
        }
        return out;
    }
    if (!Radios[radio].proves) {
        out.status = 8;
        return out;
    }
    const std::optional<Copy> latest = model.Latest(radio);
    if (!latest) {
        out.status = 10;
        return out;
    }
    if (model.HoldsDealerBytes(radio, latest->bytes)) {
        return out; // nothing written, nothing kept
    }
    model.kept.push_back({memory, radio, true}); // before its first block
    for (const auto& [block, command] : WrittenBlocks) {
        if (Reached(fault, command)) {
            model.Take(radio, latest->bytes, block);
        }
    }
    if (!Reached(fault, WriteEnd)) {
        out.status = 4;
        return out;
    }
    out.atLastEnd = memory;
    if (!Reached(fault, ReadBackEnd)) {
        out.status = 4;
        return out;
    }
    model.kept.push_back({memory, radio, false});
    return out;
}

QByteArray ToBytes(const Memory& m) {
    return QByteArray(reinterpret_cast<const char*>(m.data()), static_cast<qsizetype>(m.size()));
}

InfoImage ToImage(const Memory& m) {
    InfoImage image{};
    std::copy(m.begin(), m.end(), image.begin());
    return image;
}

std::string Hex(const Memory& m) {
    return ToBytes(m).toHex(' ').toStdString();
}

int EnvNumber(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}
} // namespace

TEST(KeptReadsProperty, LatestIsTheLastReadOfTheRadioKeptWhateverFailedOrTheClockSaid) {
    const int drawn = static_cast<int>(std::random_device{}() & 0x7FFFFFFFu);
    const auto seed = static_cast<unsigned>(EnvNumber("RADIOINFO_SEED", drawn));
    const int steps = EnvNumber("RADIOINFO_RESTORE_STEPS", 150);
    SCOPED_TRACE("RADIOINFO_SEED=" + std::to_string(seed));
    std::mt19937 random(seed);
    const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };

    QTemporaryDir dir;
    const QString folder = dir.filePath("reads");
    QDateTime now(QDate(2026, 12, 7), QTime(14, 25, 30), Qt::UTC);
    Model model;
    for (std::size_t r = 0; r < RadioCount; ++r) {
        model.radios.push_back(RadioMemory(r));
    }
    const KeptReads reads(folder, nullptr, [&] { return now; });

    for (int step = 0; step < steps; ++step) {
        // The clock stands still, or jumps by up to three days either way.
        if (below(3) != 0) {
            now = now.addSecs(below(6 * 86400) - 3 * 86400);
        }
        const auto op = static_cast<Op>(below(3));
        const auto radio = static_cast<std::size_t>(below(static_cast<int>(RadioCount)));
        const int last = op == Op::Read ? ReadEnd : op == Op::WrongWrite ? WriteEnd : ReadBackEnd;
        const int fault = below(2) == 0 ? 1 + below(last) : 0;
        const std::string seller = "W" + std::to_string(step);
        const std::string what = "step " + std::to_string(step) + ": " +
                                 (op == Op::Read         ? "read"
                                  : op == Op::WrongWrite ? "write --seller " + seller
                                                         : "restore --latest") +
                                 " of " + Radios[radio].what + ", the radio fails at command " +
                                 std::to_string(fault);
        SCOPED_TRACE(what);

        const QString image = WriteImage(dir, "radio.bin", ToBytes(model.radios[radio]));
        const QString saved = dir.filePath("saved.bin");
        QFile::remove(saved);
        QStringList simArgs{"--image", image, "--save", saved};
        if (fault != 0) {
            simArgs << "--hangup" << QString::number(fault);
        }
        SimulatedRadio sim(simArgs);
        ASSERT_FALSE(sim.Device().isEmpty());
        std::vector<std::u16string> args = {u"read"};
        if (op == Op::WrongWrite) {
            args = {u"write", u"--seller", std::u16string(seller.begin(), seller.end())};
        } else if (op == Op::RestoreLatest) {
            args = {u"restore", u"--latest"};
        }
        const CliParseResult parsed = ParseCliOptions(args);
        ASSERT_TRUE(parsed.options);
        int status = -1;
        {
            CliSession session(
                1, [device = sim.Device()](int) { return device; }, false, folder,
                [&] { return now; });
            status = session.Run(*parsed.options, 0);
        }
        sim.StopAndTranscript();

        const Outcome expected = Predict(model, op, radio, fault, seller);
        ASSERT_EQ(status, expected.status);
        if (expected.atLastEnd) {
            ASSERT_TRUE(QFile::exists(saved));
            Memory actual{};
            const QByteArray bytes = ReadFile(saved);
            ASSERT_EQ(bytes.size(), 256);
            std::copy(bytes.begin(), bytes.end(), actual.begin());
            ASSERT_EQ(Hex(actual), Hex(*expected.atLastEnd));
        }
        ASSERT_EQ(QDir(folder).entryList(QDir::Files).size(),
                  static_cast<qsizetype>(model.kept.size()));
        // Every radio's copies, newest first, and the one restore takes.
        for (std::size_t r = 0; r < RadioCount; ++r) {
            std::vector<std::string> want;
            for (auto copy = model.kept.rbegin(); copy != model.kept.rend(); ++copy) {
                if (Alike(copy->radio, r)) {
                    want.push_back((copy->beforeRestore ? "found " : "read ") + Hex(copy->bytes));
                }
            }
            std::vector<std::string> got;
            for (const KeptRead& read : reads.Of(ToImage(model.radios[r]))) {
                Memory bytes{};
                std::copy(read.image.begin(), read.image.end(), bytes.begin());
                got.push_back((read.beforeRestore ? "found " : "read ") + Hex(bytes));
            }
            ASSERT_EQ(got, want) << Radios[r].what;
            const std::optional<Copy> latest = model.Latest(r);
            const std::optional<KeptRead> taken = reads.Latest(ToImage(model.radios[r]));
            ASSERT_EQ(taken.has_value(), latest.has_value()) << Radios[r].what;
            if (latest) {
                Memory bytes{};
                std::copy(taken->image.begin(), taken->image.end(), bytes.begin());
                ASSERT_EQ(Hex(bytes), Hex(latest->bytes)) << Radios[r].what;
            }
        }
    }
}

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
