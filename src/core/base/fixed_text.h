#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace orvanta {

// A text of at most N characters held in place, for the many short texts of one run
// (date texts, lord labels): no allocation, trivially copied. Reads as a
// std::string_view and converts to std::string; a longer text keeps its first N
// characters. Like an int, it is trivially default-constructed, so that a result's
// arrays of them start as one block of zeros: declare one with {} (an empty text)
// unless a text is put in at once.
template <std::size_t N>
class FixedText {
    static_assert(N < 256);

public:
    FixedText() = default;
    constexpr FixedText(std::string_view text) noexcept { assign(text); }  // NOLINT: reads as a text
    constexpr FixedText(const char* text) noexcept : FixedText(std::string_view(text)) {}
    FixedText(const std::string& text) noexcept : FixedText(std::string_view(text)) {}

    constexpr void assign(std::string_view text) noexcept {
        size_ = static_cast<std::uint8_t>(std::min(text.size(), N));
        std::copy_n(text.data(), size_, chars_);
        std::fill(chars_ + size_, chars_ + N, '\0');
    }

    // Lets `write` put exactly `size` (at most N) characters in place, with no copy
    // through a buffer.
    template <typename Write>
    constexpr void write(std::size_t size, Write write) noexcept {
        const std::size_t n = std::min(size, N);  // kept apart: `write` may touch any byte
        size_ = static_cast<std::uint8_t>(n);
        write(chars_);
        std::fill(chars_ + n, chars_ + N, '\0');
    }

    constexpr std::string_view view() const noexcept { return {chars_, size_}; }
    constexpr operator std::string_view() const noexcept { return view(); }  // NOLINT: reads as a text
    operator std::string() const { return std::string(view()); }             // NOLINT
    std::string str() const { return std::string(view()); }
    constexpr std::size_t size() const noexcept { return size_; }
    constexpr bool empty() const noexcept { return size_ == 0; }

    friend constexpr bool operator==(const FixedText& a, const FixedText& b) noexcept { return a.view() == b.view(); }
    template <typename Text>
        requires(std::is_convertible_v<const Text&, std::string_view> && !std::is_same_v<Text, FixedText>)
    friend constexpr bool operator==(const FixedText& a, const Text& b) noexcept {
        return a.view() == std::string_view(b);
    }

private:
    char chars_[N];
    std::uint8_t size_;
};

}  // namespace orvanta
