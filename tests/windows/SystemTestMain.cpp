// The Windows system tests' main. Started with --report-sys-type the program
// is a child of a test instead: it runs the operating-system check the way
// start-up does and prints what it saw.
#include "system/ModSYSType.h"
#include "system/WindowsApi.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {
// Prints "PLATFORM MAJOR.MINOR fixed=F messages=M": the version query's
// answer, the check's verdict and how many messages it showed.
int ReportSysType() {
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)) == 0) {
        std::printf("no version\n");
        return 1;
    }
    int messages = 0;
    const bool fixed = CheckSysType([&messages](std::u16string_view) { ++messages; });
    std::printf("%lu %lu.%lu fixed=%d messages=%d\n", info.dwPlatformId, info.dwMajorVersion,
                info.dwMinorVersion, fixed ? 1 : 0, messages);
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--report-sys-type") == 0) {
        return ReportSysType();
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
