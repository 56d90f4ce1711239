#include "system/SettingsFile.h"

#include "TempDir.h"

#ifdef _WIN32
#include "windows/UnderWine.h"
#endif

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
// The line end of a file the settings code creates: the system's own.
#ifdef _WIN32
const std::string Eol = "\r\n";
#else
const std::string Eol = "\n";
#endif

std::int16_t ReadSaved(const std::string& fileContent) {
    TempDir temp;
    const fs::path file = temp.Path() / "mysetup.ini";
    WriteBytes(file, fileContent);
    return SettingsFile(file).ReadComPort();
}
} // namespace

TEST(SettingsFile, ReadsAWholeNumberInTheSixteenBitRangeElseZero) {
    const std::vector<std::pair<std::string, std::int16_t>> cases{
        {" 7 ", 7},
        {"\t7\t", 7},
        {"07", 7},
        {"3", 3},
        {"+7", 7},
        {"-1", -1},
        {"32767", 32767},
        {"-32768", -32768},
        {"32768", 0},
        {"-32769", 0},
        {"99999999999999999999999", 0},
        {"", 0},
        {"abc", 0},
        {"7a", 0},
        {"7.0", 0},
        {"1 2", 0},
        {"COM7", 0},
        {"-", 0},
        {"0x10", 0},
        // 511 characters are seen: the "x" at 512 is cut away, the one at 511 is not
        {"7" + std::string(510, ' ') + "x", 7},
        {"7" + std::string(509, ' ') + "x", 0},
        // a 600-character number is seen as its first 511 digits
        {std::string(597, '0') + "123", 0},
        {std::string(508, '0') + "123" + std::string(89, ' ') + "x", 123},
    };
    for (const auto& [value, number] : cases) {
        SCOPED_TRACE(value.size() > 40 ? value.substr(0, 40) + "..." : value);
        EXPECT_EQ(ReadSaved("[language]\ncomPort=" + value + "\n"), number);
    }
}

TEST(SettingsFile, MissingFileSectionOrKeyReadsZero) {
    TempDir temp;
    EXPECT_EQ(SettingsFile(temp.Path() / "none.ini").ReadComPort(), 0);
    EXPECT_EQ(ReadSaved(""), 0);
    EXPECT_EQ(ReadSaved("[other]\ncomPort=7\n"), 0);
    EXPECT_EQ(ReadSaved("[language]\nport=7\n"), 0);
    EXPECT_EQ(ReadSaved("[LANGUAGE]\r\nComPort=7\r\n"), 7);
}

TEST(SettingsFile, WritesTheDecimalNumber) {
    TempDir temp;
    const SettingsFile settings(temp.Path() / "mysetup.ini");
    EXPECT_TRUE(settings.WriteComPort(3));
    EXPECT_EQ(ReadBytes(settings.Path()), "[language]" + Eol + "comPort=3" + Eol);
    EXPECT_TRUE(settings.WriteComPort(123));
    EXPECT_EQ(settings.ReadComPort(), 123);
    EXPECT_TRUE(settings.WriteComPort(-1));
    EXPECT_EQ(ReadBytes(settings.Path()), "[language]" + Eol + "comPort=-1" + Eol);
    EXPECT_TRUE(settings.WriteComPort(0));
    EXPECT_EQ(settings.ReadComPort(), 0);
}

TEST(SettingsFile, ASavedLeadingZeroIsRewrittenPlain) {
    TempDir temp;
    const fs::path file = temp.Path() / "mysetup.ini";
    WriteBytes(file, "[language]" + Eol + "comPort=07" + Eol);
    EXPECT_TRUE(SettingsFile(file).WriteComPort(7));
    EXPECT_EQ(ReadBytes(file), "[language]" + Eol + "comPort=7" + Eol);
}

TEST(SettingsFile, AFailedWriteIsReportedNotThrown) {
    TempDir temp;
    WriteBytes(temp.Path() / "blocker", "x");
    const SettingsFile settings(temp.Path() / "blocker" / "mysetup.ini");
    EXPECT_FALSE(settings.WriteComPort(7));
    EXPECT_EQ(settings.ReadComPort(), 0);
}

#ifdef _WIN32
TEST(SettingsFile, LivesBesideTheProgram) {
    const fs::path expected = fs::path(_pgmptr).parent_path() / "mysetup.ini";
    EXPECT_EQ(DefaultSettingsPath(), expected);
    const SettingsFile settings;
    EXPECT_EQ(settings.Path(), expected);
    const bool existed = fs::exists(expected);
    const std::string before = ReadBytes(expected);
    EXPECT_TRUE(settings.WriteComPort(4));
    EXPECT_EQ(settings.ReadComPort(), 4);
    if (existed) {
        WriteBytes(expected, before);
    } else {
        fs::remove(expected);
    }
}
#else
TEST(SettingsFile, LivesInTheConfigFolder) {
    TempDir temp;
    ScopedEnv xdg("XDG_CONFIG_HOME", temp.Path().string());
    const fs::path expected = temp.Path() / "radioinfo" / "mysetup.ini";
    EXPECT_EQ(DefaultSettingsPath(), expected);
    const SettingsFile settings;
    EXPECT_EQ(settings.Path(), expected);
    EXPECT_EQ(settings.ReadComPort(), 0);
    EXPECT_TRUE(settings.WriteComPort(4));
    EXPECT_EQ(ReadBytes(expected), "[language]\ncomPort=4\n");
}
#endif

namespace {
struct KeptCase {
    const char* what;
    std::string before;
    std::string after; // with comPort set to 7
    std::optional<std::string> afterUnderWine = std::nullopt;
};

// Files with Windows line ends, as a dealer's editor leaves them.
const KeptCase KeptCases[] = {
    {"value replaced", "[language]\r\ncomPort=3\r\n", "[language]\r\ncomPort=7\r\n"},
    {"comments and other keys kept",
     "; radioinfo\r\n[language]\r\n# note\r\nlang=2\r\ncomPort=3 ; old\r\nzz=9\r\n",
     "; radioinfo\r\n[language]\r\n# note\r\nlang=2\r\ncomPort=7\r\nzz=9\r\n"},
    {"missing section appended", "; settings\r\n[other]\r\nx=1\r\n",
     "; settings\r\n[other]\r\nx=1\r\n[language]\r\ncomPort=7\r\n"},
    {"missing section, no line end at the end", "[other]\r\nx=1",
     "[other]\r\nx=1\r\n[language]\r\ncomPort=7\r\n"},
    {"missing key added after the section's last key", "[language]\r\nlang=2\r\n[other]\r\ny=2\r\n",
     "[language]\r\nlang=2\r\ncomPort=7\r\n[other]\r\ny=2\r\n"},
    {"key only in another section", "[other]\r\ncomPort=3\r\n[language]\r\nx=1\r\n",
     "[other]\r\ncomPort=3\r\n[language]\r\nx=1\r\ncomPort=7\r\n"},
    {"names in any case", "[LANGUAGE]\r\nCOMPORT=3\r\n", "[LANGUAGE]\r\nCOMPORT=7\r\n"},
    {"first of two keys", "[language]\r\ncomPort=3\r\ncomPort=4\r\n",
     "[language]\r\ncomPort=7\r\ncomPort=4\r\n"},
    {"same value: untouched", "[language]\r\ncomPort = 7  \r\n", "[language]\r\ncomPort = 7  \r\n"},
    // Wine writes the file anew from what it parsed and leaves out blank
    // lines; Windows changes only the key's line.
    {"blank lines kept", "[other]\r\nx=1\r\n\r\n[language]\r\ncomPort=3\r\n",
     "[other]\r\nx=1\r\n\r\n[language]\r\ncomPort=7\r\n",
     "[other]\r\nx=1\r\n[language]\r\ncomPort=7\r\n"},
    {"UTF-8 byte order mark", "\xEF\xBB\xBF[language]\r\ncomPort=3\r\n",
     "\xEF\xBB\xBF[language]\r\ncomPort=7\r\n"},
    {"bytes that are not text", "[a]\r\n\xFF\xFE=\x80\r\nno equals\r\n[language]\r\ncomPort=3\r\n",
     "[a]\r\n\xFF\xFE=\x80\r\nno equals\r\n[language]\r\ncomPort=7\r\n"},
};

void PrintTo(const KeptCase& c, std::ostream* out) {
    *out << c.what;
}
} // namespace

class SettingsFileLines : public testing::TestWithParam<KeptCase> {};

TEST_P(SettingsFileLines, WritingKeepsEveryOtherLineByteForByte) {
#ifdef _WIN32
    const bool underWine = RunningUnderWine();
#else
    const bool underWine = false;
#endif
    const KeptCase& c = GetParam();
    TempDir temp;
    const fs::path file = temp.Path() / "mysetup.ini";
    WriteBytes(file, c.before);
    EXPECT_TRUE(SettingsFile(file).WriteComPort(7));
    EXPECT_EQ(ReadBytes(file), underWine ? c.afterUnderWine.value_or(c.after) : c.after);
    EXPECT_EQ(SettingsFile(file).ReadComPort(), 7);
}

INSTANTIATE_TEST_SUITE_P(WindowsLineEnds, SettingsFileLines, testing::ValuesIn(KeptCases),
                         [](const testing::TestParamInfo<KeptCase>& row) {
                             std::string name;
                             for (const char c : std::string(row.param.what)) {
                                 name.push_back(std::isalnum(static_cast<unsigned char>(c)) ? c
                                                                                            : '_');
                             }
                             return name;
                         });
