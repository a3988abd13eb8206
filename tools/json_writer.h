#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvanta {

// A small JSON writer that keeps members in the order they are written.
class JsonWriter {
public:
    void BeginObject(std::string_view key = {});
    void EndObject();
    void BeginArray(std::string_view key = {});
    void EndArray();
    void String(std::string_view key, std::string_view value);
    void String(std::string_view value) { String({}, value); }
    void Integer(std::string_view key, long long value);
    // The shortest decimal form that reads back as the same double.
    void Number(std::string_view key, double value);
    void Bool(std::string_view key, bool value);
    void Bool(bool value) { Bool({}, value); }
    void Null(std::string_view key);

    const std::string& Text() const { return text_; }

private:
    void Key(std::string_view key);
    static void AppendQuoted(std::string& out, std::string_view text);

    std::string text_;
    std::vector<bool> first_;  // one per open container: nothing written in it yet
};

}  // namespace orvanta
