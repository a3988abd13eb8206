#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvanta::fuzz {

// Reads a fuzzer's bytes as a sequence of fields: a byte, or a text up to the next
// newline (the last text runs to the end).
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

    bool empty() const { return rest_.empty(); }

    std::uint8_t Byte() {
        if (rest_.empty()) return 0;
        const auto b = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return b;
    }

    std::string_view Text() {
        const std::size_t end = rest_.find('\n');
        const std::string_view text = rest_.substr(0, end);
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        return text;
    }

private:
    std::string_view rest_;
};

// Stops the fuzzer with a finding: the check is kept in release builds too.
[[noreturn]] void Fail(const char* what);

#define ORVANTA_FUZZ_CHECK(condition) \
    do {                              \
        if (!(condition)) ::orvanta::fuzz::Fail(#condition); \
    } while (false)

}  // namespace orvanta::fuzz
