#include "json_writer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace orvanta {

void JsonWriter::Member(Key key) {
    if (!first_.empty()) {
        if (first_.back() == 0) text_ += ", ";
        first_.back() = 0;
    }
    if (key) {
        AppendQuoted(text_, *key);
        text_ += ": ";
    }
}

void JsonWriter::BeginObjectAt(Key key) {
    if (first_.empty() && text_.empty()) text_.reserve(16384);  // a chart's object is some 8 KiB
    Member(key);
    text_ += '{';
    first_.push_back(1);
}

void JsonWriter::EndObject() {
    text_ += '}';
    first_.pop_back();
}

void JsonWriter::BeginArrayAt(Key key) {
    Member(key);
    text_ += '[';
    first_.push_back(1);
}

void JsonWriter::EndArray() {
    text_ += ']';
    first_.pop_back();
}

void JsonWriter::StringAt(Key key, std::string_view value) {
    Member(key);
    AppendQuoted(text_, value);
}

void JsonWriter::IntegerAt(Key key, long long value) {
    Member(key);
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text_.append(buffer, result.ptr);
}

void JsonWriter::NumberAt(Key key, double value) {
    Member(key);
    if (!std::isfinite(value)) {
        text_ += "null";
        return;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text_.append(buffer, result.ptr);
}

void JsonWriter::BoolAt(Key key, bool value) {
    Member(key);
    text_ += value ? "true" : "false";
}

void JsonWriter::NullAt(Key key) {
    Member(key);
    text_ += "null";
}

namespace {

// The length of the well-formed UTF-8 sequence at the start of `text` (Unicode 15,
// table 3-7: no overlong forms, no surrogates, nothing beyond U+10FFFF), or 0.
std::size_t SequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const auto continuation = [&](std::size_t i, unsigned char low, unsigned char high) {
        return i < text.size() && byte(i) >= low && byte(i) <= high;
    };
    const unsigned char b = byte(0);
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) return continuation(1, 0x80, 0xBF) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        const unsigned char low = b == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = b == 0xED ? 0x9F : 0xBF;
        return continuation(1, low, high) && continuation(2, 0x80, 0xBF) ? 3 : 0;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        const unsigned char low = b == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = b == 0xF4 ? 0x8F : 0xBF;
        return continuation(1, low, high) && continuation(2, 0x80, 0xBF) && continuation(3, 0x80, 0xBF) ? 4 : 0;
    }
    return 0;
}

}  // namespace

namespace {
// The bytes written as they stand: printable ASCII other than the quote and backslash.
constexpr std::array<bool, 256> kPlain = [] {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c < 0x80; ++c) plain[static_cast<std::size_t>(c)] = c != '"' && c != '\\';
    return plain;
}();
}  // namespace

void JsonWriter::AppendQuoted(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    // Most texts need no escape at all: quotes and text go in with one copy.
    if (std::all_of(text.begin(), text.end(), [](char c) { return kPlain[static_cast<unsigned char>(c)]; })) {
        const std::size_t at = out.size();
        out.resize(at + text.size() + 2);
        char* p = out.data() + at;
        *p = '"';
        std::copy(text.begin(), text.end(), p + 1);
        p[text.size() + 1] = '"';
        return;
    }
    out += '"';
    while (!text.empty()) {
        // A run of printable ASCII that needs no escape goes in whole.
        std::size_t plain = 0;
        while (plain < text.size() && kPlain[static_cast<unsigned char>(text[plain])]) ++plain;
        if (plain > 0) {
            out.append(text.data(), plain);
            text.remove_prefix(plain);
            continue;
        }
        const std::size_t length = SequenceLength(text);
        if (length == 0) {
            // One U+FFFD per malformed byte.
            out += "\xEF\xBF\xBD";
            text.remove_prefix(1);
            continue;
        }
        if (length > 1) {
            out += text.substr(0, length);
            text.remove_prefix(length);
            continue;
        }
        const char c = text.front();
        text.remove_prefix(1);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                out += "\\u00";
                out += kHex[static_cast<unsigned char>(c) >> 4];
                out += kHex[static_cast<unsigned char>(c) & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

}  // namespace orvanta
