#include "core/report/rtf_writer.h"

#include <QString>

#include <array>
#include <cstdint>

namespace orvanta {

namespace {

void AppendEscaped(std::string& out, const std::string& utf8) {
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        switch (c) {
        case u'\\': out += "\\\\"; break;
        case u'{': out += "\\{"; break;
        case u'}': out += "\\}"; break;
        case u'\t': out += "\\tab "; break;
        case u'\r':
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            [[fallthrough]];
        case u'\n':
            // The line break in the file is only for the reader of the source; RTF
            // readers ignore it. The blank ends the control word, so a text that
            // follows with blanks of its own keeps them all.
            out += "\r\n\\par ";
            break;
        default:
            if (c >= 0x20 && c < 0x7F) {
                out += static_cast<char>(c);
            } else {
                // One UTF-16 code unit, as a signed 16-bit number; \uc1 lets a reader
                // without Unicode show the '?'. A surrogate pair becomes two of these.
                out += "\\u";
                out += std::to_string(static_cast<std::int16_t>(c));
                out += '?';
            }
        }
    }
}

}  // namespace

std::string WriteRtf(const std::vector<ReportPiece>& pieces) {
    std::array<bool, kPalette.size()> used{};
    for (const ReportPiece& piece : pieces) used[static_cast<std::size_t>(ClampPaletteIndex(piece.colour))] = true;

    // Entry 0 of the table stays empty (the reader's automatic colour); the palette
    // entries in use follow in palette order.
    std::array<int, kPalette.size()> tableIndex{};
    std::string out =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n"
        "{\\fonttbl{\\f0\\fswiss\\fcharset0 Verdana;}}\r\n"
        "{\\colortbl;";
    int next = 1;
    for (std::size_t i = 0; i < kPalette.size(); ++i) {
        if (!used[i]) continue;
        tableIndex[i] = next++;
        const PaletteColour c = kPalette[i];
        out += "\\red" + std::to_string(c.red) + "\\green" + std::to_string(c.green) + "\\blue" +
               std::to_string(c.blue) + ";";
    }
    out += "}\r\n";
    // \plain would reset the size to 12 pt, so the font and size come after it.
    out += "\\pard\\plain\\f0\\fs20";

    bool bold = false;
    bool underline = false;
    int colour = -1;  // \cf0 is the automatic colour, not palette black: always set once
    for (const ReportPiece& piece : pieces) {
        if (piece.text.empty()) continue;
        std::string controls;
        if (piece.bold != bold) controls += piece.bold ? "\\b" : "\\b0";
        const int cf = tableIndex[static_cast<std::size_t>(ClampPaletteIndex(piece.colour))];
        if (cf != colour) controls += "\\cf" + std::to_string(cf);
        if (piece.rowEmphasis != underline) controls += piece.rowEmphasis ? "\\ul" : "\\ulnone";
        bold = piece.bold;
        colour = cf;
        underline = piece.rowEmphasis;
        if (!controls.empty()) out += controls + ' ';
        AppendEscaped(out, piece.text);
    }
    out += "\r\n}\r\n";
    return out;
}

}  // namespace orvanta
