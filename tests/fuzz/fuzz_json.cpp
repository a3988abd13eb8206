// The JSON writer driven by arbitrary calls. Whatever texts, keys and numbers it gets,
// the output must be one value of strict RFC 8259 JSON in well-formed UTF-8, checked
// here by a validator of its own, and a text that was well-formed UTF-8 must read
// back unchanged.

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "json_writer.h"

using namespace orvanta;
using orvanta::fuzz::Input;

namespace {

// The length of a well-formed UTF-8 sequence at `at`, or 0 (Unicode table 3-7).
std::size_t Utf8Length(std::string_view s, std::size_t at) {
    const auto b = [&](std::size_t i) { return at + i < s.size() ? static_cast<unsigned char>(s[at + i]) : 0u; };
    const auto in = [](unsigned v, unsigned low, unsigned high) { return v >= low && v <= high; };
    const unsigned lead = b(0);
    if (lead < 0x80) return 1;
    if (in(lead, 0xC2, 0xDF)) return in(b(1), 0x80, 0xBF) ? 2 : 0;
    if (in(lead, 0xE0, 0xEF)) {
        const bool second = lead == 0xE0 ? in(b(1), 0xA0, 0xBF) : lead == 0xED ? in(b(1), 0x80, 0x9F) : in(b(1), 0x80, 0xBF);
        return second && in(b(2), 0x80, 0xBF) ? 3 : 0;
    }
    if (in(lead, 0xF0, 0xF4)) {
        const bool second = lead == 0xF0 ? in(b(1), 0x90, 0xBF) : lead == 0xF4 ? in(b(1), 0x80, 0x8F) : in(b(1), 0x80, 0xBF);
        return second && in(b(2), 0x80, 0xBF) && in(b(3), 0x80, 0xBF) ? 4 : 0;
    }
    return 0;
}

bool WellFormedUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = Utf8Length(s, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

void AppendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// A strict RFC 8259 reader that keeps every string it reads, in order.
class Validator {
public:
    explicit Validator(std::string_view text) : s_(text) {}

    bool Document() {
        Blank();
        if (!Value(0)) return false;
        Blank();
        return at_ == s_.size();
    }
    const std::vector<std::string>& strings() const { return strings_; }

private:
    void Blank() {
        while (at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\n' || s_[at_] == '\r')) ++at_;
    }
    bool Eat(char c) {
        if (at_ < s_.size() && s_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    bool Word(std::string_view w) {
        if (s_.substr(at_, w.size()) != w) return false;
        at_ += w.size();
        return true;
    }
    bool Digits() {
        const std::size_t from = at_;
        while (at_ < s_.size() && s_[at_] >= '0' && s_[at_] <= '9') ++at_;
        return at_ > from;
    }
    bool Number() {
        Eat('-');
        if (Eat('0')) {
            if (at_ < s_.size() && s_[at_] >= '0' && s_[at_] <= '9') return false;
        } else if (!Digits()) {
            return false;
        }
        if (Eat('.') && !Digits()) return false;
        if (Eat('e') || Eat('E')) {
            if (!Eat('+')) Eat('-');
            if (!Digits()) return false;
        }
        return true;
    }
    std::optional<unsigned> Hex4() {
        unsigned v = 0;
        for (int k = 0; k < 4; ++k, ++at_) {
            if (at_ >= s_.size()) return std::nullopt;
            const char c = s_[at_];
            v <<= 4;
            if (c >= '0' && c <= '9') v |= unsigned(c - '0');
            else if (c >= 'a' && c <= 'f') v |= unsigned(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F') v |= unsigned(c - 'A' + 10);
            else return std::nullopt;
        }
        return v;
    }
    bool String() {
        if (!Eat('"')) return false;
        std::string value;
        while (true) {
            if (at_ >= s_.size()) return false;
            const auto c = static_cast<unsigned char>(s_[at_]);
            if (c == '"') {
                ++at_;
                strings_.push_back(std::move(value));
                return true;
            }
            if (c < 0x20) return false;
            if (c == '\\') {
                ++at_;
                if (at_ >= s_.size()) return false;
                const char e = s_[at_++];
                switch (e) {
                case '"': value += '"'; break;
                case '\\': value += '\\'; break;
                case '/': value += '/'; break;
                case 'b': value += '\b'; break;
                case 'f': value += '\f'; break;
                case 'n': value += '\n'; break;
                case 'r': value += '\r'; break;
                case 't': value += '\t'; break;
                case 'u': {
                    const auto unit = Hex4();
                    if (!unit || (*unit >= 0xD800 && *unit <= 0xDFFF)) return false;  // the writer writes no pairs
                    AppendUtf8(value, *unit);
                    break;
                }
                default: return false;
                }
                continue;
            }
            const std::size_t n = Utf8Length(s_, at_);
            if (n == 0) return false;
            value += s_.substr(at_, n);
            at_ += n;
        }
    }
    bool Value(int depth) {
        if (depth > 200 || at_ >= s_.size()) return false;
        const char c = s_[at_];
        if (c == '{') {
            ++at_;
            Blank();
            if (Eat('}')) return true;
            do {
                Blank();
                if (!String()) return false;
                Blank();
                if (!Eat(':')) return false;
                Blank();
                if (!Value(depth + 1)) return false;
                Blank();
            } while (Eat(','));
            return Eat('}');
        }
        if (c == '[') {
            ++at_;
            Blank();
            if (Eat(']')) return true;
            do {
                Blank();
                if (!Value(depth + 1)) return false;
                Blank();
            } while (Eat(','));
            return Eat(']');
        }
        if (c == '"') return String();
        if (c == 't') return Word("true");
        if (c == 'f') return Word("false");
        if (c == 'n') return Word("null");
        return Number();
    }

    std::string_view s_;
    std::size_t at_ = 0;
    std::vector<std::string> strings_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    JsonWriter out;
    std::vector<bool> inObject;      // the open containers: object or array
    std::vector<std::string> texts;  // every key and string written, in order
    out.BeginObject();
    inObject.push_back(true);
    for (int calls = 0; !in.empty() && calls < 256; ++calls) {
        const std::uint8_t op = in.Byte();
        const bool keyed = inObject.back();
        std::string key;
        if (keyed) {
            key = std::string(in.Text());
            texts.push_back(key);
        }
        const auto withKey = [&](auto&& keyedCall, auto&& plainCall) {
            if (keyed) {
                keyedCall();
            } else {
                plainCall();
            }
        };
        switch (op % 8) {
        case 0:
            if (inObject.size() < 32) {
                withKey([&] { out.BeginObject(key); }, [&] { out.BeginObject(); });
                inObject.push_back(true);
            } else {
                withKey([&] { out.Null(key); }, [&] { out.Null(); });
            }
            break;
        case 1:
            if (inObject.size() < 32) {
                withKey([&] { out.BeginArray(key); }, [&] { out.BeginArray(); });
                inObject.push_back(false);
            } else {
                withKey([&] { out.Null(key); }, [&] { out.Null(); });
            }
            break;
        case 2:
            if (inObject.size() > 1) {
                if (inObject.back()) {
                    out.EndObject();
                } else {
                    out.EndArray();
                }
                inObject.pop_back();
                if (keyed) texts.pop_back();  // the key read for this call names nothing
            } else {
                withKey([&] { out.Bool(key, true); }, [&] { out.Bool(true); });
            }
            break;
        case 3: {
            const std::string value(in.Text());
            texts.push_back(value);
            withKey([&] { out.String(key, value); }, [&] { out.String(value); });
            break;
        }
        case 4: {
            double value = 0;
            std::uint8_t bytes[sizeof value];
            for (auto& b : bytes) b = in.Byte();
            std::memcpy(&value, bytes, sizeof value);  // NaN and the infinities among them
            withKey([&] { out.Number(key, value); }, [&] { out.Number(value); });
            break;
        }
        case 5: {
            long long value = 0;
            for (int k = 0; k < 8; ++k) value = static_cast<long long>(static_cast<unsigned long long>(value) << 8 | in.Byte());
            withKey([&] { out.Integer(key, value); }, [&] { out.Integer(value); });
            break;
        }
        case 6: withKey([&] { out.Bool(key, (op & 8) != 0); }, [&] { out.Bool((op & 8) != 0); }); break;
        default: withKey([&] { out.Null(key); }, [&] { out.Null(); }); break;
        }
    }
    while (!inObject.empty()) {
        if (inObject.back()) {
            out.EndObject();
        } else {
            out.EndArray();
        }
        inObject.pop_back();
    }

    ORVANTA_FUZZ_CHECK(WellFormedUtf8(out.Text()));
    Validator validator(out.Text());
    ORVANTA_FUZZ_CHECK(validator.Document());
    const std::vector<std::string>& read = validator.strings();
    ORVANTA_FUZZ_CHECK(read.size() == texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (WellFormedUtf8(texts[i])) ORVANTA_FUZZ_CHECK(read[i] == texts[i]);
    }
    return 0;
}
