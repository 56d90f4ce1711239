#pragma once

#include <array>
#include <string_view>

// What a model of radio is to the tool: the model text it reports, the
// versions accepted with it, its entry in the Radio Type list, and how its
// programming link is spoken and timed.
struct RadioModelRules {
    std::u16string_view ModelText;               // at 0x3B00, as the radio reports it
    std::array<std::u16string_view, 2> Versions; // accepted at 0x3B07
    std::u16string_view RadioType;               // the Radio Type list's entry
    std::string_view LineSettings;               // baud, parity, data bits, stop bits
    int ResponseTimeoutMs;                       // an answer missing this long ends the exchange
    int NewRadioAfterSilences; // a batch takes an answer for the next radio after this many
    int MaxPollCount;          // a batch gives up after this many silent time-outs (4 hours)
    int MaxRepeatAnswers;      // 0x0A answers to one command before giving up
};

inline constexpr RadioModelRules Kvt4610{
    u"KVT4610", {u"V100", u"V110"}, u"KVT4610", "9600,N,8,1", 500, 2, 28800, 5,
};

// The one model this tool serves.
inline constexpr const RadioModelRules& TheModel = Kvt4610;
