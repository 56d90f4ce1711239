#pragma once

#include <cstdint>
#include <string_view>

// The system's default locale identifier as Windows numbers it (0x0409
// English (United States), 0x0804 Chinese (PRC), ...). Elsewhere it comes from
// the POSIX locale: the first set of LC_ALL, LC_MESSAGES and LANG.
std::uint32_t SystemDefaultLocaleId();

// The identifier of a POSIX locale name such as "zh_CN.UTF-8"; unknown names
// give 0x0409.
std::uint32_t LocaleIdFromName(std::string_view name);

// 2 (Chinese) for the Chinese (PRC) locale, else 1 (English): the identifier
// is written in hexadecimal and compared, read as a decimal number, with 804.
int LangTypeForLocaleId(std::uint32_t localeId);
