#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A text field of exactly N characters, as the radio record keeps it: storing
// a text pads it with blanks or cuts it to N characters.
template <std::size_t N> class FixedText {
  public:
    // An empty field: a NUL that ends the meaningful text, then blanks.
    FixedText() { Assign(std::u16string_view(u"\0", 1)); }
    FixedText(std::u16string_view text) { Assign(text); }

    FixedText& operator=(std::u16string_view text) {
        Assign(text);
        return *this;
    }

    const std::u16string& Str() const { return text_; }
    static constexpr std::size_t Width = N;

    friend bool operator==(const FixedText&, const FixedText&) = default;

  private:
    void Assign(std::u16string_view text) {
        text_.assign(text.substr(0, N));
        text_.resize(N, u' ');
    }

    std::u16string text_;
};
