#pragma once

#include <chrono>
#include <span>
#include <string_view>

// What a model of radio is to the tool: the model text it reports, the
// versions accepted with it, its entry in the Radio Type list, and how its
// programming link is spoken and timed.
struct RadioModelRules {
    std::u16string_view ModelText;                 // at 0x3B00, as the radio reports it
    std::span<const std::u16string_view> Versions; // accepted at 0x3B07
    std::u16string_view RadioType;                 // the Radio Type list's entry
    std::string_view LineSettings;                 // baud, parity, data bits, stop bits
    std::chrono::milliseconds ResponseTime;        // an answer missing this long ends the exchange
    int NewRadioAfterSilences; // a batch takes an answer for the next radio after this many
    std::chrono::milliseconds BatchGivesUpAfter; // a batch waits this long for its next radio
    int MaxRepeatAnswers;                        // 0x0A answers to one command before giving up

    // The silent time-outs a batch polls through before it gives up: the
    // first time-out past BatchGivesUpAfter ends it.
    constexpr int MaxPollCount() const {
        return static_cast<int>(BatchGivesUpAfter / ResponseTime);
    }
};

inline constexpr std::u16string_view Kvt4610Versions[] = {u"V100", u"V110"};

inline constexpr RadioModelRules Kvt4610{
    .ModelText = u"KVT4610",
    .Versions = Kvt4610Versions,
    .RadioType = u"KVT4610",
    .LineSettings = "9600,N,8,1",
    .ResponseTime = std::chrono::milliseconds{500},
    .NewRadioAfterSilences = 2,
    .BatchGivesUpAfter = std::chrono::hours{4},
    .MaxRepeatAnswers = 5,
};

// The one model this tool serves.
inline constexpr const RadioModelRules& TheModel = Kvt4610;
