#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvanta {

// A small JSON writer (RFC 8259) that keeps members in the order they are written.
// Each call comes in two forms: with a key for a member of an object, without one for
// an element of an array or the document itself; an empty key is a key like any other.
// Texts are read as UTF-8: a malformed sequence is written as U+FFFD.
class JsonWriter {
public:
    JsonWriter() : text_(own_) {}
    // A writer that adds the document to the end of `into`.
    explicit JsonWriter(std::string& into) : text_(into) {}
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    void BeginObject() { BeginObjectAt(std::nullopt); }
    void BeginObject(std::string_view key) { BeginObjectAt(key); }
    void EndObject();
    void BeginArray() { BeginArrayAt(std::nullopt); }
    void BeginArray(std::string_view key) { BeginArrayAt(key); }
    void EndArray();
    void String(std::string_view value) { StringAt(std::nullopt, value); }
    void String(std::string_view key, std::string_view value) { StringAt(key, value); }
    void Integer(long long value) { IntegerAt(std::nullopt, value); }
    void Integer(std::string_view key, long long value) { IntegerAt(key, value); }
    // The shortest decimal form that reads back as the same double; null for NaN and
    // the infinities, which JSON cannot write.
    void Number(double value) { NumberAt(std::nullopt, value); }
    void Number(std::string_view key, double value) { NumberAt(key, value); }
    void Bool(bool value) { BoolAt(std::nullopt, value); }
    void Bool(std::string_view key, bool value) { BoolAt(key, value); }
    void Null() { NullAt(std::nullopt); }
    void Null(std::string_view key) { NullAt(key); }

    // A string member whose text `append(std::string&)` adds in place: the text must need
    // no escape (printable ASCII other than the quote and the backslash, as dates are).
    template <typename Append>
    void PlainString(std::string_view key, Append&& append) {
        Member(key);
        text_ += '"';
        append(text_);
        text_ += '"';
    }

    // A member whose JSON value `append(std::string&)` writes as it stands.
    template <typename Append>
    void Raw(std::string_view key, Append&& append) {
        Member(key);
        append(text_);
    }

    const std::string& Text() const& { return text_; }
    std::string Text() && { return std::move(text_); }

    // The text as a JSON string, quotes included.
    static void AppendQuoted(std::string& out, std::string_view text);

private:
    using Key = std::optional<std::string_view>;
    void BeginObjectAt(Key key);
    void BeginArrayAt(Key key);
    void StringAt(Key key, std::string_view value);
    void IntegerAt(Key key, long long value);
    void NumberAt(Key key, double value);
    void BoolAt(Key key, bool value);
    void NullAt(Key key);
    void Member(Key key);

    std::string own_;
    std::string& text_;
    std::vector<unsigned char> first_;  // one per open container: 1 while nothing is written in it
};

}  // namespace orvanta
