#include "system/IniFile.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
struct SetCase {
    const char* what;
    std::string before;
    std::string after; // with comPort set to 7 in section language
};

const SetCase SetCases[] = {
    {"empty file", "", "[language]\ncomPort=7\n"},
    {"value replaced", "[language]\ncomPort=3\n", "[language]\ncomPort=7\n"},
    {"CRLF kept", "[language]\r\ncomPort=3\r\n", "[language]\r\ncomPort=7\r\n"},
    {"no trailing newline kept", "[language]\ncomPort=3", "[language]\ncomPort=7"},
    {"longer value replaced by shorter", "[language]\ncomPort=12345\nx=1\n",
     "[language]\ncomPort=7\nx=1\n"},
    {"spacing around = kept", "[language]\n  comPort = 3  \n", "[language]\n  comPort = 7\n"},
    {"tabs kept", "[language]\n\tcomPort\t=\t3\n", "[language]\n\tcomPort\t=\t7\n"},
    {"names in any case", "[LANGUAGE]\nCOMPORT=3\n", "[LANGUAGE]\nCOMPORT=7\n"},
    {"blanks inside the brackets", "  [ language ]  \ncomPort=3\n",
     "  [ language ]  \ncomPort=7\n"},
    {"empty value filled", "[language]\ncomPort=\n", "[language]\ncomPort=7\n"},
    {"key line without =", "[language]\ncomPort  \n", "[language]\ncomPort=7\n"},
    {"same value: untouched", "[language]\ncomPort = 7  \r\n", "[language]\ncomPort = 7  \r\n"},
    {"other keys and comments kept",
     "; radioinfo\n[language]\n# note\nlang=2\ncomPort=3 ; old\nzz=9\n",
     "; radioinfo\n[language]\n# note\nlang=2\ncomPort=7\nzz=9\n"},
    {"missing section appended", "; settings\n[other]\nx=1\n",
     "; settings\n[other]\nx=1\n[language]\ncomPort=7\n"},
    {"missing section, CRLF, no trailing newline", "[other]\r\nx=1",
     "[other]\r\nx=1\r\n[language]\r\ncomPort=7\r\n"},
    {"missing section, blank lines kept", "[other]\nx=1\n\n\n",
     "[other]\nx=1\n\n\n[language]\ncomPort=7\n"},
    {"missing key after the section's last line", "[language]\nlang=2\n\n[other]\ny=2\n",
     "[language]\nlang=2\ncomPort=7\n\n[other]\ny=2\n"},
    {"missing key, CRLF", "[language]\r\nlang=2\r\n\r\n[other]\r\n",
     "[language]\r\nlang=2\r\ncomPort=7\r\n\r\n[other]\r\n"},
    {"missing key, header is the last line", "[language]", "[language]\ncomPort=7\n"},
    {"missing key, section at the end without newline", "[other]\nx=1\n[language]\nlang=2",
     "[other]\nx=1\n[language]\nlang=2\ncomPort=7\n"},
    {"key only in another section", "[other]\ncomPort=3\n[language]\nx=1\n",
     "[other]\ncomPort=3\n[language]\nx=1\ncomPort=7\n"},
    {"key before any section is not in it", "comPort=3\n[language]\n",
     "comPort=3\n[language]\ncomPort=7\n"},
    {"commented-out key", "[language]\n;comPort=3\n", "[language]\n;comPort=3\ncomPort=7\n"},
    {"longer key name is another key", "[language]\ncomPortX=3\n",
     "[language]\ncomPortX=3\ncomPort=7\n"},
    {"first of two keys", "[language]\ncomPort=3\ncomPort=4\n",
     "[language]\ncomPort=7\ncomPort=4\n"},
    {"first of two sections", "[language]\na=1\n[other]\n[language]\ncomPort=3\n",
     "[language]\na=1\ncomPort=7\n[other]\n[language]\ncomPort=3\n"},
    {"later section keeps its own key", "[language]\ncomPort=3\n[x]\ncomPort=9\n",
     "[language]\ncomPort=7\n[x]\ncomPort=9\n"},
    {"UTF-8 byte order mark", "\xEF\xBB\xBF[language]\r\ncomPort=3\r\n",
     "\xEF\xBB\xBF[language]\r\ncomPort=7\r\n"},
    {"bytes that are not text kept", "[a]\n\xFF\xFE=\x80\n[language]\ncomPort=3\n\x01",
     "[a]\n\xFF\xFE=\x80\n[language]\ncomPort=7\n\x01"},
};
} // namespace

TEST(SetIniValue, ChangesOnlyTheKeysLine) {
    for (const SetCase& c : SetCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SetIniValue(c.before, "language", "comPort", "7"), c.after);
    }
}

TEST(SetIniValue, WhatItWritesReadsBack) {
    for (const SetCase& c : SetCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FindIniValue(c.after, "language", "comPort"), "7");
    }
}

TEST(FindIniValue, TheFirstKeyOfTheFirstSectionBlanksRemoved) {
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases{
        {"[language]\ncomPort= 7 \n", "7"},
        {"[language]\r\ncomPort=5\r\n", "5"},
        {"[Language]\ncomport\t=\t5", "5"},
        {"[language]\ncomPort=a=b\n", "a=b"},
        {"[language]\ncomPort=\n", ""},
        {"[language]\ncomPort\n", ""},
        {"[language]\ncomPort=1\ncomPort=2\n", "1"},
        {"[language]\n[language]\ncomPort=2\n", std::nullopt},
        {"[other]\ncomPort=5\n", std::nullopt},
        {"comPort=5\n[language]\n", std::nullopt},
        {"[language]\n;comPort=5\n", std::nullopt},
        {"[languages]\ncomPort=5\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [content, value] : cases) {
        SCOPED_TRACE(content);
        EXPECT_EQ(FindIniValue(content, "language", "comPort"), value);
    }
}

TEST(WriteIniString, CreatesFolderAndFile) {
    TempDir temp;
    const fs::path file = temp.Path() / "a" / "b" / "mysetup.ini";
    EXPECT_TRUE(WriteIniString(file, "language", "comPort", "3"));
    EXPECT_EQ(ReadBytes(file), "[language]\ncomPort=3\n");
}

TEST(WriteIniString, KeepsTheRestOfAnExistingFile) {
    TempDir temp;
    const fs::path file = temp.Path() / "mysetup.ini";
    WriteBytes(file, "; mine\r\n[other]\r\nk=v\r\n[language]\r\ncomPort=3\r\nend=1");
    EXPECT_TRUE(WriteIniString(file, "language", "comPort", "12"));
    EXPECT_EQ(ReadBytes(file), "; mine\r\n[other]\r\nk=v\r\n[language]\r\ncomPort=12\r\nend=1");
}

TEST(WriteIniString, TheValueAlreadyThereLeavesTheFileUntouched) {
    TempDir temp;
    const fs::path file = temp.Path() / "mysetup.ini";
    WriteBytes(file, "[language]\ncomPort= 7\n");
    const auto old = fs::last_write_time(file) - std::chrono::hours(1);
    fs::last_write_time(file, old);

    EXPECT_TRUE(WriteIniString(file, "language", "comPort", "7"));
    EXPECT_EQ(fs::last_write_time(file), old);
    EXPECT_EQ(ReadBytes(file), "[language]\ncomPort= 7\n");

    EXPECT_TRUE(WriteIniString(file, "language", "comPort", "8"));
    EXPECT_NE(fs::last_write_time(file), old);
    EXPECT_EQ(ReadBytes(file), "[language]\ncomPort= 8\n");
}

TEST(WriteIniString, WritesThroughASymbolicLink) {
    TempDir temp;
    const fs::path real = temp.Path() / "dotfiles" / "mysetup.ini";
    fs::create_directory(real.parent_path());
    WriteBytes(real, "[language]\ncomPort=1\n");
    const fs::path link = temp.Path() / "mysetup.ini";
    fs::create_symlink(real, link);

    EXPECT_TRUE(WriteIniString(link, "language", "comPort", "2"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), "[language]\ncomPort=2\n");
}

TEST(WriteIniString, AFailedWriteReturnsFalse) {
    TempDir temp;
    WriteBytes(temp.Path() / "file", "x");
    // The folder cannot be made: a file is in the way.
    EXPECT_FALSE(WriteIniString(temp.Path() / "file" / "mysetup.ini", "language", "comPort", "7"));
    // The settings file is a folder.
    fs::create_directory(temp.Path() / "dir.ini");
    EXPECT_FALSE(WriteIniString(temp.Path() / "dir.ini", "language", "comPort", "7"));
    EXPECT_TRUE(fs::is_directory(temp.Path() / "dir.ini"));
    EXPECT_EQ(ReadBytes(temp.Path() / "file"), "x");
}

TEST(ReadIniString, FallbackWhenMissingAndCutToTheBuffer) {
    TempDir temp;
    const fs::path file = temp.Path() / "mysetup.ini";
    EXPECT_EQ(ReadIniString(file, "language", "comPort", "none", 512), "none");
    EXPECT_EQ(ReadIniString(temp.Path(), "language", "comPort", "none", 512), "none");
    WriteBytes(file, "[language]\ncomPort=" + std::string(600, 'x') + "\n");
    EXPECT_EQ(ReadIniString(file, "language", "comPort", "", 512), std::string(511, 'x'));
    EXPECT_EQ(ReadIniString(file, "language", "comPort", "", 4), "xxx");
    EXPECT_EQ(ReadIniString(file, "language", "other", "fallback", 4), "fal");
    EXPECT_EQ(ReadIniString(file, "language", "comPort", "", 0), "");
}
