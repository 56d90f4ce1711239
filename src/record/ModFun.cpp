#include "ModFun.h"

#include <algorithm>

std::u16string TrimTrailingBlanks(std::u16string_view text) {
    const auto end = text.find_last_not_of(u' ');
    return std::u16string(end == std::u16string_view::npos ? std::u16string_view()
                                                           : text.substr(0, end + 1));
}

std::u16string TrimText(std::u16string_view text) {
    std::u16string trimmed = TrimTrailingBlanks(text);
    return trimmed.substr(0, trimmed.find(u'\0'));
}

std::u16string SelectListText(const std::vector<std::u16string>& entries,
                              std::u16string_view wanted) {
    if (entries.empty()) {
        return {};
    }
    const auto found = std::find(entries.begin(), entries.end(), wanted);
    return found != entries.end() ? *found : entries.front();
}
