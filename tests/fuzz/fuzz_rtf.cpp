// The RTF writer on arbitrary piece texts and formatting. The document must be 7-bit,
// its groups balanced with no group opened after the header, every control word one
// the writer means to write, and the text read back by a small decoder of its own must
// be the pieces' text (malformed UTF-8 as U+FFFD, every line break one paragraph).

#include <QString>

#include <array>
#include <span>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/report/rtf_writer.h"
#include "fuzz_input.h"

using namespace orvanta;
using orvanta::fuzz::Input;

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool KnownControlWord(std::string_view word, bool hasNumber, long number) {
    static constexpr std::array<std::string_view, 9> kPlain = {"ansi", "pard",   "plain",  "b",       "ul",
                                                              "ulnone", "par", "tab", "fswiss"};
    static constexpr std::array<std::string_view, 12> kNumbered = {"rtf", "ansicpg", "deff", "uc",    "f",   "fs",
                                                                  "b",   "cf",      "red",  "green", "blue", "fcharset"};
    static constexpr std::array<std::string_view, 2> kTables = {"fonttbl", "colortbl"};
    if (word == "u") return hasNumber && number >= -32768 && number <= 32767;
    for (std::string_view w : hasNumber ? std::span<const std::string_view>(kNumbered) : std::span<const std::string_view>(kPlain)) {
        if (w == word) return !hasNumber || number >= 0;
    }
    for (std::string_view w : kTables) {
        if (w == word) return !hasNumber;
    }
    return false;
}

// The text of the body (group depth 1) as UTF-16, or a finding.
std::u16string Decode(std::string_view rtf) {
    std::u16string text;
    int depth = 0;
    int groupsOpened = 0;
    bool skipFallback = false;
    for (std::size_t i = 0; i < rtf.size();) {
        const char c = rtf[i];
        ORVANTA_FUZZ_CHECK(static_cast<unsigned char>(c) < 0x80);
        if (c == '{') {
            ++depth;
            ++groupsOpened;
            ORVANTA_FUZZ_CHECK(groupsOpened <= 4);  // rtf1, fonttbl, its font, colortbl
            ++i;
            continue;
        }
        if (c == '}') {
            ORVANTA_FUZZ_CHECK(depth > 0);
            --depth;
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') {  // a reader ignores the file's own line breaks
            ++i;
            continue;
        }
        ORVANTA_FUZZ_CHECK(depth > 0);
        if (c == '\\') {
            ORVANTA_FUZZ_CHECK(i + 1 < rtf.size());
            const char next = rtf[i + 1];
            if (next == '\\' || next == '{' || next == '}') {
                if (depth == 1) text += static_cast<char16_t>(next);
                i += 2;
                continue;
            }
            ORVANTA_FUZZ_CHECK(IsLetter(next));
            std::size_t j = i + 1;
            while (j < rtf.size() && IsLetter(rtf[j])) ++j;
            const std::string_view word = rtf.substr(i + 1, j - i - 1);
            bool hasNumber = false;
            bool negative = false;
            long number = 0;
            if (j < rtf.size() && rtf[j] == '-') {
                negative = true;
                ++j;
            }
            while (j < rtf.size() && rtf[j] >= '0' && rtf[j] <= '9') {
                hasNumber = true;
                number = number * 10 + (rtf[j] - '0');
                ORVANTA_FUZZ_CHECK(number < 100000);
                ++j;
            }
            ORVANTA_FUZZ_CHECK(!negative || hasNumber);
            if (negative) number = -number;
            if (j < rtf.size() && rtf[j] == ' ') ++j;  // the delimiter belongs to the word
            ORVANTA_FUZZ_CHECK(KnownControlWord(word, hasNumber, number));
            if (depth == 1) {
                if (word == "par") text += u'\n';
                if (word == "tab") text += u'\t';
                if (word == "u") {
                    text += static_cast<char16_t>(static_cast<std::uint16_t>(static_cast<std::int16_t>(number)));
                    skipFallback = true;
                }
            }
            i = j;
            continue;
        }
        if (skipFallback) {  // \uc1: one fallback character after each \u
            ORVANTA_FUZZ_CHECK(c == '?');
            skipFallback = false;
            ++i;
            continue;
        }
        ORVANTA_FUZZ_CHECK(c >= 0x20 && c < 0x7F);
        if (depth == 1) text += static_cast<char16_t>(c);
        ++i;
    }
    ORVANTA_FUZZ_CHECK(depth == 0);
    ORVANTA_FUZZ_CHECK(!skipFallback);
    return text;
}

// What a reader should see of one piece: its UTF-8 read with U+FFFD for malformed
// bytes, CRLF, CR and LF each one line break.
std::u16string Expected(const std::string& utf8) {
    const QString decoded = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    std::u16string text;
    for (qsizetype i = 0; i < decoded.size(); ++i) {
        char16_t c = decoded[i].unicode();
        if (c == u'\r') {
            if (i + 1 < decoded.size() && decoded[i + 1] == u'\n') ++i;
            c = u'\n';
        }
        text += c;
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    std::vector<ReportPiece> pieces;
    std::u16string expected;
    while (!in.empty() && pieces.size() < 64) {
        const std::uint8_t format = in.Byte();
        ReportPiece piece;
        piece.bold = (format & 1) != 0;
        piece.rowEmphasis = (format & 2) != 0;
        piece.colour = static_cast<int>(format >> 2) - 16;  // outside [0, 15] too
        piece.text = std::string(in.Text());
        if (format & 0x40) piece.text += "\r\n";
        expected += Expected(piece.text);
        pieces.push_back(std::move(piece));
    }
    const std::string rtf = WriteRtf(pieces);
    ORVANTA_FUZZ_CHECK(rtf.starts_with("{\\rtf1"));
    ORVANTA_FUZZ_CHECK(Decode(rtf) == expected);
    return 0;
}
