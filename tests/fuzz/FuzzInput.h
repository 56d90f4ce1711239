#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

// Reads a fuzzer's bytes front to back; past the end everything is zero.
class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : bytes_(data, size) {}

    bool Empty() const { return at_ >= bytes_.size(); }
    std::uint8_t Byte() { return Empty() ? 0 : bytes_[at_++]; }
    // Up to count bytes.
    std::span<const std::uint8_t> Take(std::size_t count) {
        const std::size_t n = std::min(count, bytes_.size() - std::min(at_, bytes_.size()));
        const auto taken = bytes_.subspan(std::min(at_, bytes_.size()), n);
        at_ += n;
        return taken;
    }
    std::span<const std::uint8_t> Rest() { return Take(bytes_.size()); }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

// A property the input broke: the fuzzer records the input as a finding.
[[noreturn]] inline void Broken(const std::string& what) {
    std::fprintf(stderr, "property broken: %s\n", what.c_str());
    std::abort();
}

inline void Require(bool holds, const std::string& what) {
    if (!holds) {
        Broken(what);
    }
}
