#include "system/PortNumbering.h"

#include "PortPrinting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Ports = std::vector<SystemPort>;

SerialDevice Device(const std::u16string& kernelName) {
    return {kernelName, u"/dev/" + kernelName};
}
} // namespace

TEST(FixedDeviceNumber, BlocksOfThirtyTwoByKind) {
    const std::vector<std::pair<std::u16string, int>> cases{
        {u"ttyS0", 1},
        {u"ttyS3", 4},
        {u"ttyS31", 32},
        {u"ttyUSB0", 33},
        {u"ttyUSB1", 34},
        {u"ttyUSB31", 64},
        {u"ttyACM0", 65},
        {u"ttyACM2", 67},
        {u"ttyACM31", 96},
        // beyond its block a device would take the next kind's numbers
        {u"ttyS32", 0},
        {u"ttyUSB32", 0},
        {u"ttyACM32", 0},
        {u"ttyUSB100", 0},
        // other kinds, and names that only look like these
        {u"ttyAMA0", 0},
        {u"ttySAC0", 0},
        {u"rfcomm0", 0},
        {u"ttyS", 0},
        {u"ttyUSB", 0},
        {u"ttyS1a", 0},
        {u"ttyXRUSB0", 0},
        {u"ttys0", 0},
    };
    for (const auto& [name, number] : cases) {
        SCOPED_TRACE(Ascii(name));
        EXPECT_EQ(FixedDeviceNumber(name), number);
    }
}

TEST(NumberPorts, DevicesInAscendingNumberOrder) {
    EXPECT_EQ(NumberPorts({}, {Device(u"ttyUSB0"), Device(u"ttyACM1"), Device(u"ttyS0")}),
              (Ports{{u"COM1", u"/dev/ttyS0"},
                     {u"COM33", u"/dev/ttyUSB0"},
                     {u"COM66", u"/dev/ttyACM1"}}));
}

TEST(NumberPorts, ANumberStaysWhenAnotherDeviceGoes) {
    EXPECT_EQ(NumberPorts({}, {Device(u"ttyUSB0"), Device(u"ttyUSB1")}),
              (Ports{{u"COM33", u"/dev/ttyUSB0"}, {u"COM34", u"/dev/ttyUSB1"}}));
    EXPECT_EQ(NumberPorts({}, {Device(u"ttyUSB1")}), (Ports{{u"COM34", u"/dev/ttyUSB1"}}));
}

TEST(NumberPorts, AnAliasHidesTheDeviceWithItsNumber) {
    const std::vector<PortAlias> aliases{{33, u"/dev/pts/4"}, {2, u"/dev/pts/5"}};
    EXPECT_EQ(NumberPorts(aliases, {Device(u"ttyUSB0"), Device(u"ttyS0"), Device(u"ttyUSB1")}),
              (Ports{{u"COM1", u"/dev/ttyS0"},
                     {u"COM2", u"/dev/pts/5"},
                     {u"COM33", u"/dev/pts/4"},
                     {u"COM34", u"/dev/ttyUSB1"}}));
}

TEST(NumberPorts, OtherKindsTakeFreeNumbersFrom97ByKernelName) {
    const Ports expected{{u"COM97", u"/dev/rfcomm0"},
                         {u"COM98", u"/dev/ttyAMA0"},
                         {u"COM99", u"/dev/ttyS40"},
                         {u"COM100", u"/dev/ttyXRUSB0"}};
    // whatever order the system reports them in
    EXPECT_EQ(NumberPorts({}, {Device(u"ttyXRUSB0"), Device(u"ttyAMA0"), Device(u"rfcomm0"),
                               Device(u"ttyS40")}),
              expected);
    EXPECT_EQ(NumberPorts({}, {Device(u"ttyS40"), Device(u"rfcomm0"), Device(u"ttyXRUSB0"),
                               Device(u"ttyAMA0")}),
              expected);
}

TEST(NumberPorts, AliasesClaimNumbersBeforeOtherKinds) {
    EXPECT_EQ(NumberPorts({{98, u"/dev/pts/1"}, {97, u"/dev/pts/2"}},
                          {Device(u"ttyAMA0"), Device(u"ttyAMA1")}),
              (Ports{{u"COM97", u"/dev/pts/2"},
                     {u"COM98", u"/dev/pts/1"},
                     {u"COM99", u"/dev/ttyAMA0"},
                     {u"COM100", u"/dev/ttyAMA1"}}));
}

TEST(NumberPorts, OfTwoAliasesWithOneNumberTheFirstCounts) {
    EXPECT_EQ(NumberPorts({{5, u"/dev/pts/1"}, {5, u"/dev/pts/2"}}, {}),
              (Ports{{u"COM5", u"/dev/pts/1"}}));
}

TEST(NumberPorts, AliasesOutsideOneTo999AreIgnored) {
    EXPECT_EQ(NumberPorts({{0, u"/dev/pts/1"}, {1000, u"/dev/pts/2"}, {999, u"/dev/pts/3"}}, {}),
              (Ports{{u"COM999", u"/dev/pts/3"}}));
}

TEST(NumberPorts, OtherKindsStopAt999) {
    std::vector<SerialDevice> devices;
    for (int i = 0; i < 1000; ++i) {
        const std::string digits = std::to_string(1000 + i); // same width sorts by number
        devices.push_back(Device(u"ttyX" + std::u16string(digits.begin(), digits.end())));
    }
    const Ports ports = NumberPorts({}, devices);
    ASSERT_EQ(ports.size(), 999u - 97u + 1u);
    EXPECT_EQ(ports.front(), (SystemPort{u"COM97", u"/dev/ttyX1000"}));
    EXPECT_EQ(ports.back(), (SystemPort{u"COM999", u"/dev/ttyX1902"}));
}
