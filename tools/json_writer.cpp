#include "json_writer.h"

#include <charconv>
#include <cstdio>

namespace orvanta {

void JsonWriter::Key(std::string_view key) {
    if (!first_.empty()) {
        if (!first_.back()) text_ += ", ";
        first_.back() = false;
    }
    if (!key.empty()) {
        AppendQuoted(text_, key);
        text_ += ": ";
    }
}

void JsonWriter::BeginObject(std::string_view key) {
    Key(key);
    text_ += '{';
    first_.push_back(true);
}

void JsonWriter::EndObject() {
    text_ += '}';
    first_.pop_back();
}

void JsonWriter::BeginArray(std::string_view key) {
    Key(key);
    text_ += '[';
    first_.push_back(true);
}

void JsonWriter::EndArray() {
    text_ += ']';
    first_.pop_back();
}

void JsonWriter::String(std::string_view key, std::string_view value) {
    Key(key);
    AppendQuoted(text_, value);
}

void JsonWriter::Integer(std::string_view key, long long value) {
    Key(key);
    text_ += std::to_string(value);
}

void JsonWriter::Number(std::string_view key, double value) {
    Key(key);
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text_.append(buffer, result.ptr);
}

void JsonWriter::Bool(std::string_view key, bool value) {
    Key(key);
    text_ += value ? "true" : "false";
}

void JsonWriter::Null(std::string_view key) {
    Key(key);
    text_ += "null";
}

void JsonWriter::AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            } else {
                out += c;  // UTF-8 passes through
            }
        }
    }
    out += '"';
}

}  // namespace orvanta
