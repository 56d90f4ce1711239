#include "system/OpenFailure.h"
#include "system/StartPort.h"
#include "system/SystemLocale.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>

TEST(SystemLocale, PosixNamesMapToLocaleIdentifiers) {
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"zh_CN.UTF-8", 0x0804},
        {"zh_CN", 0x0804},
        {"zh_CN.GB18030@x", 0x0804},
        {"zh_TW.UTF-8", 0x0404},
        {"zh_HK.UTF-8", 0x0C04},
        {"en_US.UTF-8", 0x0409},
        {"C", 0x0409},
        {"POSIX", 0x0409},
        {"de_DE.UTF-8", 0x0409},
        {"", 0x0409},
        {"zh", 0x0409},
    };
    for (const auto& [name, id] : cases) {
        EXPECT_EQ(LocaleIdFromName(name), id) << name;
    }
}

TEST(SystemLocale, OnlyChinesePrcGivesChinese) {
    const std::pair<std::uint32_t, int> cases[] = {
        {0x0804, 2}, {0x0409, 1}, {0x0404, 1},     {0x0C04, 1},
        {0x1004, 1}, {0x0000, 1}, {0xFFFFFFFF, 1}, {0x00804, 2},
    };
    for (const auto& [id, langType] : cases) {
        EXPECT_EQ(LangTypeForLocaleId(id), langType) << std::hex << id;
    }
}

TEST(SystemLocale, FirstSetVariableDecides) {
    struct Case {
        const char *all, *messages, *lang;
        std::uint32_t id;
    };
    const Case cases[] = {
        {nullptr, nullptr, "zh_CN.UTF-8", 0x0804},
        {"en_US.UTF-8", nullptr, "zh_CN.UTF-8", 0x0409},
        {"", "zh_CN.UTF-8", "en_US.UTF-8", 0x0804},
        {nullptr, nullptr, nullptr, 0x0409},
    };
    for (const Case& c : cases) {
        const auto set = [](const char* name, const char* value) {
            value ? setenv(name, value, 1) : unsetenv(name);
        };
        set("LC_ALL", c.all);
        set("LC_MESSAGES", c.messages);
        set("LANG", c.lang);
        EXPECT_EQ(SystemDefaultLocaleId(), c.id);
    }
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", "C", 1);
}

TEST(StartPort, SavedPortWhenListedElseFirst) {
    const std::vector<std::u16string> listed{u"COM1", u"COM7"};
    EXPECT_EQ(StartPortNumber(false, 7, listed, 1), 7);
    EXPECT_EQ(StartPortNumber(false, 4, listed, 1), 1);
    EXPECT_EQ(StartPortNumber(false, 0, listed, 1), 1);
    EXPECT_EQ(StartPortNumber(false, -3, listed, 1), 1);
    EXPECT_EQ(StartPortNumber(false, 7, {}, 0), 0);
    EXPECT_EQ(StartPortNumber(true, 5, {}, 0), 5);
    EXPECT_EQ(StartPortNumber(true, 0, listed, 1), 0);
}

TEST(OpenFailure, TheSystemsReasonAndTheDialoutGroupWhenItHelps) {
    const QString denied = OpenFailureReason("/dev/ttyUSB0", EACCES, true);
    EXPECT_TRUE(denied.startsWith("/dev/ttyUSB0: Permission denied\r\n"));
    EXPECT_TRUE(denied.contains("dialout"));
    const QString missing = OpenFailureReason("/dev/ttyUSB9", ENOENT, false);
    EXPECT_EQ(missing, "/dev/ttyUSB9: No such file or directory");
}
