// Whole sessions drawn at random and run in virtual time: radios holding any
// bytes, a Read, a Write or a batch, the dealer's edits made through the
// window's form mapping, faults on the line. The oracle knows nothing of
// packing and unpacking: it works from the radios' bytes and the texts the
// window held, and checks every W frame and how every session ended.
//
// RADIOINFO_SESSIONS=N runs N sessions (20000 by default); a failure prints its
// seed, and RADIOINFO_SEED=S runs that one session alone.
#include "doubles/CableLink.h"
#include "doubles/CommandText.h"
#include "doubles/FakeSerial.h"
#include "doubles/FakeTimer.h"
#include "doubles/TestRadio.h"
#include "doubles/VirtualClock.h"
#include "protocol/ModComm.h"
#include "protocol/OperationKind.h"
#include "record/Cp936.h"
#include "record/FormFields.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>

namespace {

using Rng = std::mt19937_64;
using Memory = TestRadio::Memory;

const std::set<int> WritableBlocks = {0x3B00, 0x3B10, 0x3B60, 0x3B70, 0x3B80, 0x3B90, 0x3BF0};

int Pick(Rng& rng, int count) {
    return static_cast<int>(rng() % static_cast<std::uint64_t>(count));
}
bool Chance(Rng& rng, int percent) {
    return Pick(rng, 100) < percent;
}

// ---- the oracle's own reading and writing of radio texts --------------------

struct TextField {
    std::size_t Offset;
    std::size_t Width;
    bool Ansi; // code page 936; else one byte per character
    int Text1; // the window field
};
const TextField WrittenFields[] = {
    {0x18, 4, false, 12}, {0x60, 16, true, 8},  {0x70, 16, true, 9},
    {0x80, 16, true, 10}, {0x90, 16, true, 11},
};

std::u16string WithoutTrailingBlanks(std::u16string text) {
    while (!text.empty() && text.back() == u' ') {
        text.pop_back();
    }
    return text;
}

// What a field's bytes say: up to the first 0x00 or 0xFF, trailing blanks off.
std::u16string ReadAs(std::span<const std::uint8_t> field, bool ansi) {
    std::string bytes;
    for (const std::uint8_t b : field) {
        if (b == 0x00 || b == 0xFF) {
            break;
        }
        bytes += static_cast<char>(b);
    }
    if (ansi) {
        return WithoutTrailingBlanks(DecodeCp936(bytes));
    }
    std::u16string text;
    for (const char c : bytes) {
        text += static_cast<char16_t>(static_cast<std::uint8_t>(c));
    }
    return WithoutTrailingBlanks(text);
}

// The text as a radio held it, then 0x00 to the end.
Bytes AsHeld(std::span<const std::uint8_t> field) {
    Bytes bytes;
    for (const std::uint8_t b : field) {
        if (b == 0x00 || b == 0xFF) {
            break;
        }
        bytes.push_back(b);
    }
    bytes.resize(field.size(), 0x00);
    return bytes;
}

// The text written afresh: whole characters while they fit, '?' for one the
// field's encoding lacks, then 0x00 to the end.
Bytes Fresh(const std::u16string& text, std::size_t width, bool ansi) {
    Bytes bytes;
    for (const char16_t c : text) {
        std::string one;
        if (!ansi) {
            one = c <= 0xFF ? std::string(1, static_cast<char>(c)) : "?";
        } else {
            one = EncodeCp936(std::u16string(1, c)).value_or("?");
        }
        if (bytes.size() + one.size() > width) {
            break;
        }
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    bytes.resize(width, 0x00);
    return bytes;
}

std::u16string VersionText(std::uint8_t major, std::uint8_t minor) {
    char text[16];
    std::snprintf(text, sizeof text, "V%X.%02X", major, minor);
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

bool ModelAccepted(const Memory& m) {
    const auto text = [&](std::size_t from, std::size_t width) {
        std::string t;
        for (std::size_t i = from; i < from + width && m[i] != 0x00 && m[i] != 0xFF; ++i) {
            t += static_cast<char>(m[i]);
        }
        while (!t.empty() && t.back() == ' ') {
            t.pop_back();
        }
        return t;
    };
    const std::string version = text(7, 4);
    return text(0, 7) == "KVT4610" && (version == "V100" || version == "V110");
}

// ---- drawing radios, edits and faults --------------------------------------

void Put(Memory& m, std::size_t at, const Bytes& bytes) {
    for (std::size_t i = 0; i < bytes.size() && at + i < m.size(); ++i) {
        m[at + i] = bytes[i];
    }
}

// Bytes for a text field in one of the ways radios are found holding them.
Bytes DrawFieldBytes(Rng& rng, std::size_t width) {
    Bytes bytes(width);
    for (auto& b : bytes) {
        b = static_cast<std::uint8_t>(rng());
    }
    const auto text = [&](const Bytes& chars) {
        Bytes t;
        while (t.size() + 2 <= width && Chance(rng, 70)) {
            const std::size_t at =
                static_cast<std::size_t>(Pick(rng, static_cast<int>(chars.size()) / 2)) * 2;
            t.push_back(chars[at]);
            if (chars[at + 1] != 0) {
                t.push_back(chars[at + 1]);
            }
        }
        return t;
    };
    // characters as byte pairs, a second byte of 0 for a one-byte character
    const Bytes ascii = {'A', 0, 'b', 0, ' ', 0, '-', 0, '7', 0, '.', 0};
    const Bytes chinese = FromHex("D6 D0 CE C4 41 00 20 00");
    switch (Pick(rng, 8)) {
    case 0:
        break; // any bytes at all
    case 1:
        std::fill(bytes.begin(), bytes.end(), 0xFF); // erased
        break;
    case 2:
        std::fill(bytes.begin(), bytes.end(), 0x00);
        break;
    default: { // a text, perhaps blanks, a terminator, then what was there or zeros
        Bytes t = text(Chance(rng, 50) ? ascii : chinese);
        if (Chance(rng, 30) && t.size() < width) {
            t.push_back(static_cast<std::uint8_t>(0x81 + Pick(rng, 0x7E))); // a lead byte alone
        }
        while (Chance(rng, 20) && t.size() < width) {
            t.push_back(0x20);
        }
        if (t.size() < width) {
            t.push_back(Chance(rng, 50) ? 0x00 : 0xFF);
        }
        std::copy(t.begin(), t.end(), bytes.begin());
        if (Chance(rng, 50)) {
            std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(t.size()), bytes.end(), 0x00);
        }
    }
    }
    return bytes;
}

Memory DrawRadio(Rng& rng) {
    Memory m;
    for (auto& b : m) {
        b = static_cast<std::uint8_t>(rng());
    }
    if (Chance(rng, 92)) {
        Put(m, 0, Ascii("KVT4610"));
        Put(m, 7, Ascii(Chance(rng, 50) ? "V100" : "V110"));
    } else if (Chance(rng, 50)) {
        Put(m, 0, Ascii("KVT4610"));
        Put(m, 7, Ascii("V120"));
    }
    const std::uint8_t bands[] = {0, 1, 0xFF, static_cast<std::uint8_t>(rng())};
    m[0x0F] = bands[Pick(rng, 4)];
    for (const TextField& f : WrittenFields) {
        Put(m, f.Offset, DrawFieldBytes(rng, f.Width));
    }
    return m;
}

std::u16string DrawEdit(Rng& rng, const TextField& field) {
    const std::u16string chars = field.Ansi ? u"ab 9-\u4E2D\u6587" : u"aZ 9-#";
    std::u16string text;
    std::size_t bytes = 0;
    while (Chance(rng, 75)) {
        const char16_t c =
            chars[static_cast<std::size_t>(Pick(rng, static_cast<int>(chars.size())))];
        const std::size_t size = c < 0x80 ? 1 : 2;
        if (bytes + size > field.Width) {
            break;
        }
        text += c;
        bytes += size;
    }
    return text;
}

enum class FaultKind { Noise, Split, BadChecksum, WrongAddress, Repeat, Silence, HangUp };

struct Fault {
    FaultKind Kind;
    std::size_t Radio = 0;
    std::string Command;
    int Times = 1;
    VirtualClock::Time At = 0;
};

// ---- the window as the form mapping sees it --------------------------------

class FormWindow : public WindowSide {
  public:
    struct Collect {
        FormFields Shown;        // what the window held, before the band rule
        std::int16_t BandBefore; // the record's band before the band rule
        TestRadio* Radio;        // the radio on the cable
    };

    FormWindow(ModData& data, CableLink& cable) : data_(data), cable_(cable) {}
    void SetComm(const ModComm& comm) { comm_ = &comm; }

    FormFields Shown;
    bool AnswerOk = true;
    std::vector<std::u16string> Messages;
    std::vector<Collect> Collects;
    std::vector<std::string> Troubles; // what the window must never see

    int LangType() const override { return 1; }
    void ShowByData() override { Shown = ShowFields(data_.Record); }
    void GetDataByShow() override {
        Collects.push_back({Shown, data_.Record.BandCode, cable_.Attached()});
        TakeFields(Shown, data_.Record);
        TakeBand(Shown.Combo1_1, data_.Record.BandCode, [this] { return AnswerOk; });
    }
    bool ShowStartMulWrite() override { return comm_->OperationMode == ModeMulWrite; }
    void SetLabel6(std::u16string_view) override {}
    void SetText2_1(std::u16string_view) override {}
    MessageResult ShowMessage(std::u16string_view text, MessageButtons, MessageIcon) override {
        Messages.emplace_back(text);
        return MessageResult::Ok;
    }

  private:
    ModData& data_;
    CableLink& cable_;
    const ModComm* comm_ = nullptr;
};

// ---- one session -------------------------------------------------------------

enum class Mode { Read, Write, WriteOnDefaults, Batch };

struct Session {
    explicit Session(std::uint64_t seed) : rng(seed) {
        window.SetComm(comm);
        serial.SetOnReceiveEvent([this](int e) { comm.MSComm1_OnComm(e); });
        timer.SetOnTick([this] { comm.WaitTimer_Timer(); });
        data.InitData({2026, 12, 7});
        comm.ComPortNo = 1;
        cable.Detach();
        window.ShowByData();
    }

    Rng rng;
    VirtualClock clock;
    ModData data;
    FakeSerial serial{clock};
    FakeTimer timer{clock};
    CableLink cable{clock, serial};
    FormWindow window{data, cable};
    ModComm comm{data, serial, timer, window};
    std::vector<std::unique_ptr<TestRadio>> radios;
    std::vector<std::string> Wire() const { return serial.WireText(); }
    std::vector<Memory> before;
    std::optional<Memory> earlier; // a radio read before the batch
    std::vector<std::string> failures;
    std::ostringstream story;

    void Check(bool ok, const std::string& what) {
        if (!ok) {
            failures.push_back(what);
        }
    }

    TestRadio& NewRadio() {
        before.push_back(DrawRadio(rng));
        radios.push_back(std::make_unique<TestRadio>(before.back()));
        return *radios.back();
    }

    std::size_t IndexOf(const TestRadio* radio) const {
        for (std::size_t i = 0; i < radios.size(); ++i) {
            if (radios[i].get() == radio) {
                return i;
            }
        }
        return radios.size();
    }

    // A Read of a radio with no faults, before the operation under test.
    void ReadFirst(TestRadio& radio) {
        cable.Attach(radio);
        comm.StartRead();
        clock.RunUntilIdle(600000);
        cable.Detach();
    }

    void Edit() {
        if (Chance(rng, 30)) {
            story << " no-edits";
            return;
        }
        for (const TextField& f : WrittenFields) {
            if (Chance(rng, 40)) {
                window.Shown.Text1[static_cast<std::size_t>(f.Text1)] = DrawEdit(rng, f);
            }
        }
        window.Shown.Check8 = static_cast<std::int16_t>(Pick(rng, 2));
        window.Shown.Check2 = static_cast<std::int16_t>(Pick(rng, 2));
        window.Shown.Check3 = static_cast<std::int16_t>(Pick(rng, 2));
        if (Chance(rng, 40)) {
            window.Shown.Combo1_1 = Pick(rng, 2);
        }
        story << " edits";
    }

    std::vector<Fault> DrawFaults(const std::vector<std::string>& commands,
                                  std::size_t radioCount) {
        std::vector<Fault> faults;
        const int count = Pick(rng, 3);
        for (int i = 0; i < count; ++i) {
            Fault f;
            f.Kind = static_cast<FaultKind>(Pick(rng, 7));
            f.Radio = static_cast<std::size_t>(Pick(rng, static_cast<int>(radioCount)));
            f.Command =
                commands[static_cast<std::size_t>(Pick(rng, static_cast<int>(commands.size())))];
            f.Times = 1 + Pick(rng, 6);
            f.At = Pick(rng, 50); // within the first radio's transfer
            const bool isRead = f.Command.starts_with("R ");
            const bool answersOneByte = f.Command.starts_with("W ") || f.Command == "END";
            if ((f.Kind == FaultKind::BadChecksum || f.Kind == FaultKind::WrongAddress) &&
                !isRead) {
                continue;
            }
            if (f.Kind == FaultKind::Repeat && !answersOneByte) {
                continue;
            }
            // a later radio of a batch is awaited by polling: its silence is no fault
            if (f.Radio > 0 && f.Command == "PROGRAM") {
                continue;
            }
            // refusals of one command add up; one run of them is enough
            const bool refusedAlready =
                std::any_of(faults.begin(), faults.end(), [&](const Fault& g) {
                    return g.Kind == FaultKind::Repeat && f.Kind == FaultKind::Repeat &&
                           g.Radio == f.Radio && g.Command == f.Command;
                });
            if (refusedAlready) {
                continue;
            }
            faults.push_back(f);
        }
        return faults;
    }

    void Apply(const Fault& f) {
        TestRadio& r = *radios[f.Radio];
        switch (f.Kind) {
        case FaultKind::Noise:
            r.NoiseNext(f.Command, Bytes{0x00, static_cast<std::uint8_t>(rng())});
            break;
        case FaultKind::Split:
            cable.SetChooser([at = static_cast<std::size_t>(1 + Pick(rng, 25))](auto) {
                CableLink::Chunking c;
                c.SplitAt = {at};
                return std::optional<CableLink::Chunking>(c);
            });
            break;
        case FaultKind::BadChecksum:
            r.BadChecksumNext(f.Command);
            break;
        case FaultKind::WrongAddress:
            r.MutateNext(f.Command, [other = 0x3B00 + 16 * Pick(rng, 16)](Bytes& a) {
                a[2] =
                    static_cast<std::uint8_t>(a[2] == (other & 0xFF) ? a[2] ^ 0x10 : other & 0xFF);
                a[20] = ByteSum(std::span(a).subspan(1, 19));
            });
            break;
        case FaultKind::Repeat:
            r.RefuseNext(f.Command, f.Times);
            break;
        case FaultKind::Silence:
            r.SilentOn(f.Command, 1);
            break;
        case FaultKind::HangUp:
            clock.After(f.At, [this] { cable.SetPlugged(false); });
            break;
        }
    }

    // Did this fault keep its operation from completing?
    bool Fatal(const Fault& f) const {
        const TestRadio& r = *radios[f.Radio];
        const bool heard = r.CountOf(f.Command) > 0;
        switch (f.Kind) {
        case FaultKind::Split:
            return false;
        case FaultKind::Noise:
            return heard && f.Command != "PROGRAM";
        case FaultKind::Repeat:
            return heard && f.Times >= MaxRepeatAnswers;
        case FaultKind::HangUp:
            return true;
        default:
            return heard;
        }
    }
};

std::vector<std::string> CommandsOf(Mode mode) {
    return FullCommands(mode == Mode::Read    ? Operation::Read
                        : mode == Mode::Batch ? Operation::Batch
                                              : Operation::Write);
}

// What each radio holds afterwards: its own bytes outside the seven writable
// blocks; in each of them its own bytes (not written, or not yet) or the
// block as the window's settings make it, field by field.
void CheckRadios(Session& s, bool success, bool singleWrite) {
    std::vector<const FormWindow::Collect*> collectOf(s.radios.size(), nullptr);
    for (const FormWindow::Collect& c : s.window.Collects) {
        const std::size_t i = s.IndexOf(c.Radio);
        s.Check(i < s.radios.size(), "the window was collected with no radio attached");
        if (i < s.radios.size()) {
            s.Check(collectOf[i] == nullptr, "collected twice for one radio");
            collectOf[i] = &c;
        }
    }
    for (std::size_t i = 0; i < s.radios.size(); ++i) {
        const TestRadio& r = *s.radios[i];
        const Memory& m = s.before[i];
        const Memory after = r.Mem();
        const std::string radio = "radio " + std::to_string(i + 1) + ": ";
        const bool sentW = std::any_of(r.Log().begin(), r.Log().end(),
                                       [](const std::string& c) { return c.starts_with("W "); });
        if (sentW) {
            s.Check(ModelAccepted(m), radio + "written although its model or version is wrong");
            s.Check(collectOf[i] != nullptr, radio + "written without collecting the window");
        }
        if (collectOf[i] == nullptr) {
            s.Check(after == m, radio + "changed without collecting the window");
            continue;
        }
        const FormWindow::Collect& c = *collectOf[i];
        if (singleWrite) {
            s.Check(c.BandBefore == m[0x0F], radio + "the band was not taken from the radio");
        }
        Memory expected = m;
        const int position = c.Shown.Combo1_1;
        if (position >= 0 && (position == c.BandBefore || s.window.AnswerOk)) {
            expected[0x0F] = static_cast<std::uint8_t>(position);
        } else if (position >= 0 && c.BandBefore >= 0 && c.BandBefore < 2) {
            expected[0x0F] = static_cast<std::uint8_t>(c.BandBefore);
        }
        expected[0x10] =
            static_cast<std::uint8_t>((m[0x10] & 0xF1) | (c.Shown.Check8 ? 2 : 0) |
                                      (c.Shown.Check2 ? 4 : 0) | (c.Shown.Check3 ? 8 : 0));
        std::vector<bool> textByte(256, false);
        std::vector<bool> textOk(256, true);
        for (const TextField& f : WrittenFields) {
            const std::u16string text =
                WithoutTrailingBlanks(c.Shown.Text1[static_cast<std::size_t>(f.Text1)]);
            const std::span<const std::uint8_t> held(m.data() + f.Offset, f.Width);
            const std::span<const std::uint8_t> got(after.data() + f.Offset, f.Width);
            // a text shown as some radio held it may go back with those bytes
            std::vector<Bytes> accepted = {Fresh(text, f.Width, f.Ansi)};
            if (singleWrite && ReadAs(held, f.Ansi) == text) {
                accepted.emplace_back(held.begin(), held.end()); // unedited: as the Read got it
            }
            std::vector<const Memory*> sources = {&m};
            if (s.earlier) {
                sources.push_back(&*s.earlier);
            }
            for (const Memory* source : sources) {
                const std::span<const std::uint8_t> field(source->data() + f.Offset, f.Width);
                if (f.Ansi && ReadAs(field, true) == text) {
                    accepted.push_back(AsHeld(field));
                }
            }
            const bool ok = std::any_of(accepted.begin(), accepted.end(), [&](const Bytes& a) {
                return std::equal(got.begin(), got.end(), a.begin());
            });
            for (std::size_t b = f.Offset; b < f.Offset + f.Width; ++b) {
                textByte[b] = true;
                textOk[b] = ok;
            }
        }
        for (std::size_t at = 0; at < 256; at += 16) {
            const auto same = [&](const Memory& want, std::size_t b) {
                return after[b] == want[b];
            };
            bool old = true;
            bool now = true;
            for (std::size_t b = at; b < at + 16; ++b) {
                old = old && same(m, b);
                now = now && (textByte[b] ? textOk[b] : same(expected, b));
            }
            const auto where = [&] {
                return radio + "block" + CommandFor("", 0x3B00 + static_cast<int>(at)) + " holds " +
                       Hex(std::span(after).subspan(at, 16)) + ", held " +
                       Hex(std::span(m).subspan(at, 16));
            };
            const bool writable = WritableBlocks.contains(0x3B00 + static_cast<int>(at));
            if (!(writable ? old || now : old)) {
                s.Check(false, where());
            } else if (writable && success && !now) {
                s.Check(false, where() + " after a write reported done");
            }
        }
    }
}

// Every W frame on the wire went to one of the seven blocks a write may touch.
void CheckWire(Session& s) {
    for (const FakeSerial::Sent& sent : s.serial.Wire()) {
        const std::string text = DescribeCommand(sent.Data);
        if (text.starts_with("W ")) {
            const int address = sent.Data[1] * 256 + sent.Data[2];
            s.Check(WritableBlocks.contains(address),
                    "W frame outside the writable blocks: " + text);
        }
        s.Check(!text.starts_with("??"), "unknown bytes on the wire: " + text);
    }
}

std::u16string SuccessText(Mode mode) {
    switch (mode) {
    case Mode::Read:
        return u"Read Complete!";
    case Mode::Batch:
        return u"MulWrite Complete!";
    default:
        return u"Write Complete!";
    }
}

void RunSession(Session& s) {
    Rng& rng = s.rng;
    const Mode mode = static_cast<Mode>(Pick(rng, 4));
    const std::size_t radioCount =
        mode == Mode::Batch ? static_cast<std::size_t>(1 + Pick(rng, 3)) : 1;
    for (std::size_t i = 0; i < radioCount; ++i) {
        s.NewRadio();
    }
    s.window.AnswerOk = Chance(rng, 60);
    s.story << "mode " << static_cast<int>(mode) << " radios " << radioCount;

    std::optional<FormFields> shownByRead;
    if (mode == Mode::Write) {
        s.ReadFirst(*s.radios[0]);
        shownByRead = s.window.Shown;
    } else if (mode == Mode::Batch && Chance(rng, 50)) {
        TestRadio earlier(DrawRadio(rng));
        s.earlier = earlier.Mem();
        s.ReadFirst(earlier); // leaves its bytes, band and texts behind
        s.story << " after-a-read";
    }
    s.window.Messages.clear();
    if (mode != Mode::Read) {
        s.Edit();
    }
    const bool edited = !shownByRead || !(s.window.Shown == *shownByRead);

    const std::vector<Fault> faults = s.DrawFaults(CommandsOf(mode), radioCount);
    for (const Fault& f : faults) {
        s.Apply(f);
        s.story << " fault " << static_cast<int>(f.Kind) << "@" << f.Radio + 1 << ":" << f.Command
                << "x" << f.Times;
    }
    s.cable.Attach(*s.radios[0]);
    for (std::size_t i = 1; i < radioCount; ++i) {
        const auto t = static_cast<VirtualClock::Time>(3000 * i);
        s.clock.After(t - 1500, [&s] { s.cable.Detach(); });
        s.clock.After(t, [&s, r = s.radios[i].get()] { s.cable.Attach(*r); });
    }
    switch (mode) {
    case Mode::Read:
        s.comm.StartRead();
        break;
    case Mode::Write:
    case Mode::WriteOnDefaults:
        s.comm.StartWrite();
        break;
    case Mode::Batch:
        s.comm.StartMulWrite(static_cast<std::int32_t>(radioCount));
        break;
    }
    s.Check(s.clock.RunUntilIdle(6LL * 3600 * 1000), "the session never settled");

    // How it ended: one message, the port closed, nothing outstanding.
    s.Check(s.window.Messages.size() == 1,
            "messages shown: " + std::to_string(s.window.Messages.size()));
    const std::u16string last = s.window.Messages.empty() ? u"" : s.window.Messages.back();
    const bool success = last == SuccessText(mode);
    const bool modelError = last.starts_with(u"Model Type or Version Error!");
    s.Check(success || modelError || last.starts_with(u"Communication Error!"),
            "an unexpected message: " + std::string(last.begin(), last.end()));
    s.Check(!s.serial.PortOpen() && !s.timer.IsRunning(),
            "the port is open or a command outstanding");
    s.Check(s.comm.OperationMode == ModeIdle || modelError,
            "the operation did not end: mode " + std::to_string(s.comm.OperationMode) + " after " +
                std::string(last.begin(), last.end()) + ", last sent " + s.Wire().back());
    s.Check(s.serial.Misuse().empty(), "the serial control was misused");
    CheckWire(s);
    CheckRadios(s, success, mode == Mode::Write || mode == Mode::WriteOnDefaults);

    // Faults that stop an operation stop it; without them it completes.
    const bool fatal =
        std::any_of(faults.begin(), faults.end(), [&](const Fault& f) { return s.Fatal(f); });
    std::size_t rejectedAt = radioCount;
    for (std::size_t i = 0; i < radioCount; ++i) {
        if (!ModelAccepted(s.before[i])) {
            rejectedAt = std::min(rejectedAt, i);
        }
    }
    if (fatal) {
        s.Check(!success, "a session with a fault that stops it reported success");
    } else if (rejectedAt < radioCount) {
        s.Check(modelError, "a radio of the wrong model or version was not reported");
    } else {
        s.Check(success, "a session without a stopping fault failed");
    }
    if (!success) {
        return;
    }
    for (std::size_t i = 0; i < radioCount; ++i) {
        const TestRadio& r = *s.radios[i];
        // its transfer ended with END (a batch may poll the radio afterwards)
        const auto lastEnd = std::find(r.Log().rbegin(), r.Log().rend(), "END");
        const auto lastOther =
            std::find_if(r.Log().rbegin(), r.Log().rend(),
                         [](const std::string& c) { return c != "PROGRAM" && c != "END"; });
        s.Check(lastEnd < lastOther, "a radio's transfer did not end with END");
        if (mode != Mode::Read) {
            for (const int a : WritableBlocks) {
                s.Check(r.CountOf(CommandFor("W", a)) > 0, "a block was never written");
            }
        }
    }
    if (mode == Mode::Read) {
        s.Check(std::equal(s.data.Image.begin(), s.data.Image.end(), s.before[0].begin()),
                "the image after a Read differs from the radio");
        s.Check(s.window.Shown.Text1[12] == ReadAs(std::span(s.before[0]).subspan(0x18, 4), false),
                "the password is not shown as the radio holds it");
    }
    if (mode == Mode::Write) {
        const Memory& m = s.before[0];
        s.Check(s.window.Shown.Text1[5] == VersionText(m[0x0B], m[0x0C]) &&
                    s.window.Shown.Text1[13] == VersionText(m[0x0D], m[0x0E]),
                "after a Write the window does not show the radio's versions");
        if (!edited) {
            // read again: every field shows as before the Write
            const FormFields first = *shownByRead;
            s.cable.SetPlugged(true);
            s.ReadFirst(*s.radios[0]);
            // trailing blanks are fill, which the record's rules may set
            std::string changed;
            for (std::size_t t = 0; t < first.Text1.size(); ++t) {
                if (WithoutTrailingBlanks(first.Text1[t]) !=
                    WithoutTrailingBlanks(s.window.Shown.Text1[t])) {
                    changed += " Text1(" + std::to_string(t) + ")";
                }
            }
            if (first.Combo1_1 != s.window.Shown.Combo1_1 ||
                first.Check2 != s.window.Shown.Check2 || first.Check3 != s.window.Shown.Check3 ||
                first.Check8 != s.window.Shown.Check8) {
                changed += " band or flags";
            }
            s.Check(changed.empty(), "a Write without edits changed" + changed + " (radio held " +
                                         Hex(std::span(s.before[0]).subspan(0x60, 16)) +
                                         ", holds " + Hex(s.radios[0]->Block(0x3B60)) + ")");
        }
    }
}

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::strtoull(value, nullptr, 10) : fallback;
}

TEST(SessionProperty, EveryDrawnSessionKeepsTheRadiosBytes) {
    const char* one = std::getenv("RADIOINFO_SEED");
    const std::uint64_t first = one != nullptr ? std::strtoull(one, nullptr, 10) : 1;
    const std::uint64_t count = one != nullptr ? 1 : EnvNumber("RADIOINFO_SESSIONS", 20000);
    for (std::uint64_t seed = first; seed < first + count; ++seed) {
        Session s(seed);
        RunSession(s);

        if (!s.failures.empty()) {
            std::string all;
            for (const std::string& f : s.failures) {
                all += "\n  " + f;
            }
            FAIL() << "session " << seed << " (" << s.story.str() << ") failed:" << all
                   << "\nreplay: RADIOINFO_SEED=" << seed
                   << " protocol_tests --gtest_filter=SessionProperty.*";
        }
    }
    std::printf("%llu sessions from seed %llu\n", static_cast<unsigned long long>(count),
                static_cast<unsigned long long>(first));
}

} // namespace
