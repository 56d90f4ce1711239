// The language choice against the real locale query. Wine takes the system
// default locale from the Unix locale it was started in, once per program, so
// scripts/test-windows runs these tests under each row's LC_ALL and every
// other row is skipped; on Windows the locale is a system setting and only
// its own row can run.
#include "system/SystemLocale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {
struct LocaleRow {
    const char* lcAll;
    std::uint32_t localeId;
    int langType; // 1 English, 2 Chinese
};

const LocaleRow LocaleRows[] = {
    {"en_US.UTF-8", 0x0409, 1},
    {"zh_CN.UTF-8", 0x0804, 2},
};

void PrintTo(const LocaleRow& row, std::ostream* out) {
    *out << "LC_ALL=" << row.lcAll;
}

class DefaultLocale : public testing::TestWithParam<LocaleRow> {};
} // namespace

TEST_P(DefaultLocale, ChoosesTheLanguage) {
    const LocaleRow& row = GetParam();
    const char* lcAll = std::getenv("LC_ALL");
    if (lcAll == nullptr || std::string(lcAll) != row.lcAll) {
        GTEST_SKIP() << "runs under LC_ALL=" << row.lcAll;
    }
    const std::uint32_t localeId = SystemDefaultLocaleId();
    EXPECT_EQ(localeId, row.localeId);
    EXPECT_EQ(LangTypeForLocaleId(localeId), row.langType);
}

INSTANTIATE_TEST_SUITE_P(Languages, DefaultLocale, testing::ValuesIn(LocaleRows),
                         [](const testing::TestParamInfo<LocaleRow>& row) {
                             return std::string(row.param.lcAll).substr(0, 5);
                         });
