#include "ModComm.h"

#include "record/ModFun.h"

#include <algorithm>
#include <string>

namespace {
constexpr std::size_t HeadLength = 8;
constexpr std::size_t SequenceDigits = 8;

bool IsNumber(std::u16string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

// A digit string plus one, with at least eight digits.
std::u16string Advance(std::u16string_view digits) {
    std::u16string sum(digits);
    auto it = sum.rbegin();
    for (; it != sum.rend() && *it == u'9'; ++it) {
        *it = u'0';
    }
    if (it == sum.rend()) {
        sum.insert(sum.begin(), u'1');
    } else {
        ++*it;
    }
    const std::size_t start = std::min(sum.find_first_not_of(u'0'), sum.size() - 1);
    sum.erase(0, start);
    if (sum.size() < SequenceDigits) {
        sum.insert(0, SequenceDigits - sum.size(), u'0');
    }
    return sum;
}
} // namespace

std::u16string NextSerialNo(std::u16string_view serialNo) {
    std::u16string s = TrimText(serialNo);
    if (s.size() > HeadLength) {
        const std::u16string_view tail = std::u16string_view(s).substr(HeadLength);
        if (IsNumber(tail)) {
            s = s.substr(0, HeadLength) + Advance(tail);
        }
    } else if (IsNumber(s)) {
        s = Advance(s);
    }
    return s;
}
