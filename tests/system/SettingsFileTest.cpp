#include "system/SettingsFile.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
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
    const SettingsFile settings(temp.Path() / "cfg" / "mysetup.ini");
    EXPECT_TRUE(settings.WriteComPort(3));
    EXPECT_EQ(ReadBytes(settings.Path()), "[language]\ncomPort=3\n");
    EXPECT_TRUE(settings.WriteComPort(123));
    EXPECT_EQ(settings.ReadComPort(), 123);
    EXPECT_TRUE(settings.WriteComPort(-1));
    EXPECT_EQ(ReadBytes(settings.Path()), "[language]\ncomPort=-1\n");
    EXPECT_TRUE(settings.WriteComPort(0));
    EXPECT_EQ(settings.ReadComPort(), 0);
}

TEST(SettingsFile, ASavedLeadingZeroIsRewrittenPlain) {
    TempDir temp;
    const fs::path file = temp.Path() / "mysetup.ini";
    WriteBytes(file, "[language]\ncomPort=07\n");
    EXPECT_TRUE(SettingsFile(file).WriteComPort(7));
    EXPECT_EQ(ReadBytes(file), "[language]\ncomPort=7\n");
}

TEST(SettingsFile, AFailedWriteIsReportedNotThrown) {
    TempDir temp;
    WriteBytes(temp.Path() / "blocker", "x");
    const SettingsFile settings(temp.Path() / "blocker" / "mysetup.ini");
    EXPECT_FALSE(settings.WriteComPort(7));
    EXPECT_EQ(settings.ReadComPort(), 0);
}

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
