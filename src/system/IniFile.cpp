#include "IniFile.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace {
constexpr std::string_view Blanks = " \t\v\f\r";
constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

struct Line {
    std::size_t begin = 0; // first byte of the text
    std::size_t end = 0;   // one past the text, before the line ending
    std::size_t next = 0;  // one past the line ending
};

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::vector<Line> SplitLines(std::string_view content) {
    std::vector<Line> lines;
    std::size_t begin = content.starts_with(Utf8Bom) ? Utf8Bom.size() : 0;
    while (begin < content.size()) {
        const auto newline = content.find('\n', begin);
        Line line{begin, newline == std::string_view::npos ? content.size() : newline, 0};
        line.next = newline == std::string_view::npos ? content.size() : newline + 1;
        if (newline != std::string_view::npos && line.end > begin &&
            content[line.end - 1] == '\r') {
            --line.end;
        }
        lines.push_back(line);
        begin = line.next;
    }
    return lines;
}

std::string_view TextOf(std::string_view content, const Line& line) {
    return content.substr(line.begin, line.end - line.begin);
}

// The section name of a "[name]" line; nullopt for other lines.
std::optional<std::string_view> SectionName(std::string_view text) {
    text = Trim(text);
    if (!text.starts_with('[')) {
        return std::nullopt;
    }
    text.remove_prefix(1);
    return Trim(text.substr(0, text.find(']')));
}

// Where a key line's value starts, or npos when the line is not the key.
std::size_t ValueStart(std::string_view text, std::string_view key) {
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) {
        return SameName(Trim(text), key) ? text.size() : std::string_view::npos;
    }
    if (!SameName(Trim(text.substr(0, equals)), key)) {
        return std::string_view::npos;
    }
    const auto value = text.find_first_not_of(" \t", equals + 1);
    return value == std::string_view::npos ? text.size() : value;
}

struct Found {
    std::optional<std::size_t> section; // index of the section's header line
    std::size_t lastInSection = 0;      // its last non-blank line
    std::optional<std::size_t> key;     // index of the key's line
};

Found Find(std::string_view content, const std::vector<Line>& lines, std::string_view section,
           std::string_view key) {
    Found found;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view text = TextOf(content, lines[i]);
        if (const auto name = SectionName(text)) {
            if (found.section) {
                break; // only the first section of that name counts
            }
            if (SameName(*name, section)) {
                found.section = i;
                found.lastInSection = i;
            }
            continue;
        }
        if (!found.section) {
            continue;
        }
        if (!Trim(text).empty()) {
            found.lastInSection = i;
        }
        if (ValueStart(text, key) != std::string_view::npos) {
            found.key = i;
            break;
        }
    }
    return found;
}

std::string_view LineEnding(std::string_view content) {
    const auto newline = content.find('\n');
    if (newline != std::string_view::npos && newline > 0 && content[newline - 1] == '\r') {
        return "\r\n";
    }
    return "\n";
}

// The whole file, "" when it does not exist, nullopt when it cannot be read.
std::optional<std::string> ReadFileBytes(const fs::path& file) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (status.type() == fs::file_type::not_found) {
        return std::string();
    }
    if (error || !fs::is_regular_file(status)) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return std::move(bytes).str();
}
} // namespace

std::optional<std::string> FindIniValue(std::string_view content, std::string_view section,
                                        std::string_view key) {
    const std::vector<Line> lines = SplitLines(content);
    const Found found = Find(content, lines, section, key);
    if (!found.key) {
        return std::nullopt;
    }
    const std::string_view text = TextOf(content, lines[*found.key]);
    return std::string(Trim(text.substr(ValueStart(text, key))));
}

std::string SetIniValue(std::string_view content, std::string_view section, std::string_view key,
                        std::string_view value) {
    const std::vector<Line> lines = SplitLines(content);
    const Found found = Find(content, lines, section, key);
    const std::string_view eol = LineEnding(content);
    std::string result;

    if (found.key) {
        const Line& line = lines[*found.key];
        const std::string_view text = TextOf(content, line);
        if (Trim(text.substr(ValueStart(text, key))) == value) {
            return std::string(content);
        }
        const auto start = ValueStart(text, key);
        result.append(content.substr(0, line.begin));
        if (text.find('=') == std::string_view::npos) {
            result.append(text.substr(0, text.find_last_not_of(Blanks) + 1)).append("=");
        } else {
            result.append(text.substr(0, start));
        }
        result.append(value);
        result.append(content.substr(line.end));
        return result;
    }

    // Where the new lines go: after the section's last non-blank line, or at
    // the end of the file.
    const std::size_t at = found.section ? lines[found.lastInSection].next : content.size();
    result.append(content.substr(0, at));
    if (!result.empty() && result.back() != '\n') {
        result.append(eol);
    }
    if (!found.section) {
        result.append("[").append(section).append("]").append(eol);
    }
    result.append(key).append("=").append(value).append(eol);
    result.append(content.substr(at));
    return result;
}

std::string ReadIniString(const fs::path& file, std::string_view section, std::string_view key,
                          std::string_view fallback, std::size_t bufferChars) {
    std::string value(fallback);
    try {
        if (const auto content = ReadFileBytes(file)) {
            if (auto found = FindIniValue(*content, section, key)) {
                value = std::move(*found);
            }
        }
    } catch (const std::exception&) {
        // Out of memory reading a huge file: as if there were no file.
    }
    value.resize(std::min(value.size(), bufferChars == 0 ? 0 : bufferChars - 1));
    return value;
}

bool WriteIniString(const fs::path& file, std::string_view section, std::string_view key,
                    std::string_view value) {
    try {
        const auto content = ReadFileBytes(file);
        if (!content) {
            return false; // never overwrite what could not be read
        }
        const std::string updated = SetIniValue(*content, section, key, value);
        std::error_code error;
        if (updated == *content && fs::exists(file, error)) {
            return true;
        }
        if (file.has_parent_path()) {
            fs::create_directories(file.parent_path(), error);
            if (error) {
                return false;
            }
        }
        // Written in place rather than renamed over, so that a settings file
        // that is a symbolic link, or has its own permissions, stays so.
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(updated.data(), static_cast<std::streamsize>(updated.size()));
        out.close();
        return !out.fail();
    } catch (const std::exception&) {
        return false;
    }
}
