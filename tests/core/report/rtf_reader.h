#pragma once

// A small RTF reader for the report's tests: enough of RTF 1.x to read back what a
// report file says (text, bold, colour, underline, paragraphs) without trusting the
// writer's own view of it. Groups, control words with their delimiters, control
// symbols, \'hh, \uN with its \uc fallback, the font and colour tables.

#include <QList>
#include <QString>

#include <cctype>
#include <string>

namespace orvanta::testing {

// A colour table entry; -1 throughout is the automatic (empty) entry.
struct RtfColour {
    int red = -1;
    int green = -1;
    int blue = -1;

    friend bool operator==(const RtfColour&, const RtfColour&) = default;
};

struct RtfRun {
    QString text;  // paragraphs end in "\r\n"
    bool bold = false;
    RtfColour colour;
    bool underline = false;

    friend bool operator==(const RtfRun&, const RtfRun&) = default;
};

struct RtfDocument {
    bool ok = false;
    QString error;
    QStringList fonts;
    QList<RtfColour> colours;
    int defaultFont = -1;
    int fontSize = -1;      // half-points of the last \fs
    QList<RtfRun> runs;     // adjacent runs of equal formatting merged

    QString text() const {
        QString all;
        for (const RtfRun& run : runs) all += run.text;
        return all;
    }
};

inline char* toString(const RtfRun& run) {
    const QString text = QString("{\"%1\", bold %2, colour %3,%4,%5, underline %6}")
                             .arg(run.text.toHtmlEscaped())
                             .arg(run.bold)
                             .arg(run.colour.red)
                             .arg(run.colour.green)
                             .arg(run.colour.blue)
                             .arg(run.underline);
    return qstrdup(text.toUtf8().constData());
}

inline RtfDocument ReadRtf(const std::string& rtf) {
    RtfDocument doc;
    struct State {
        bool bold = false;
        int cf = 0;
        bool underline = false;
        int uc = 1;
        enum class Dest { Text, FontTable, ColourTable, Skip } dest = Dest::Text;
    };
    QList<State> stack{State{}};
    int skipFallback = 0;
    QString fontName;
    int r = -1, g = -1, b = -1;
    std::u16string pendingUnits;

    auto fail = [&](const QString& why) {
        doc.ok = false;
        doc.error = why;
        return doc;
    };
    auto put = [&](QString text) {
        State& s = stack.last();
        if (s.dest == State::Dest::FontTable) {
            fontName += text;
            return;
        }
        if (s.dest == State::Dest::ColourTable) {
            for (QChar c : text) {
                if (c != ';') continue;
                doc.colours.append(RtfColour{r, g, b});
                r = g = b = -1;
            }
            return;
        }
        if (s.dest != State::Dest::Text) return;
        RtfRun run{text, s.bold, s.cf >= 0 && s.cf < doc.colours.size() ? doc.colours[s.cf] : RtfColour{},
                   s.underline};
        if (!doc.runs.isEmpty()) {
            RtfRun& last = doc.runs.last();
            if (last.bold == run.bold && last.colour == run.colour && last.underline == run.underline) {
                last.text += text;
                return;
            }
        }
        doc.runs.append(run);
    };
    auto flushUnits = [&] {
        if (pendingUnits.empty()) return;
        put(QString::fromStdU16String(pendingUnits));
        pendingUnits.clear();
    };
    auto emitChar = [&](char16_t unit) {
        if (skipFallback > 0) {
            --skipFallback;
            return;
        }
        pendingUnits.push_back(unit);
    };

    std::size_t i = 0;
    bool closedTop = false;
    if (!rtf.starts_with("{\\rtf1")) return fail("no {\\rtf1 header");
    while (i < rtf.size()) {
        const char c = rtf[i];
        if (closedTop) {
            if (c != '\r' && c != '\n') return fail("text after the closing brace");
            ++i;
            continue;
        }
        if (c == '{') {
            flushUnits();
            skipFallback = 0;
            stack.append(stack.last());
            ++i;
        } else if (c == '}') {
            flushUnits();
            skipFallback = 0;
            const State closing = stack.takeLast();
            if (closing.dest == State::Dest::FontTable && !fontName.isEmpty()) {
                doc.fonts.append(fontName.trimmed().chopped(fontName.trimmed().endsWith(';') ? 1 : 0));
                fontName.clear();
            }
            if (stack.isEmpty()) return fail("unbalanced }");
            if (stack.size() == 1) closedTop = true;
            ++i;
        } else if (c == '\r' || c == '\n') {
            ++i;
        } else if (c == '\\') {
            ++i;
            if (i >= rtf.size()) return fail("lone backslash at the end");
            const char d = rtf[i];
            if (std::isalpha(static_cast<unsigned char>(d))) {
                std::string word;
                while (i < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[i]))) word += rtf[i++];
                bool hasParam = false;
                int param = 0;
                bool negative = false;
                if (i < rtf.size() && rtf[i] == '-') {
                    negative = true;
                    ++i;
                }
                while (i < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[i]))) {
                    hasParam = true;
                    param = param * 10 + (rtf[i++] - '0');
                }
                if (negative) param = -param;
                if (i < rtf.size() && rtf[i] == ' ') ++i;  // the delimiter belongs to the word

                State& s = stack.last();
                if (word == "u") {
                    emitChar(static_cast<char16_t>(static_cast<std::int16_t>(param)));
                    skipFallback = s.uc;
                    continue;
                }
                flushUnits();
                skipFallback = 0;
                if (word == "fonttbl") s.dest = State::Dest::FontTable;
                else if (word == "colortbl") s.dest = State::Dest::ColourTable;
                else if (word == "red") r = param;
                else if (word == "green") g = param;
                else if (word == "blue") b = param;
                else if (word == "deff") doc.defaultFont = param;
                else if (word == "fs") doc.fontSize = param;
                else if (word == "uc") s.uc = param;
                else if (word == "b") s.bold = !hasParam || param != 0;
                else if (word == "ul") s.underline = !hasParam || param != 0;
                else if (word == "ulnone") s.underline = false;
                else if (word == "cf") s.cf = param;
                else if (word == "plain") {
                    s.bold = false;
                    s.underline = false;
                    s.cf = 0;
                } else if (word == "par") put("\r\n");
                else if (word == "tab") put("\t");
                else if (word == "rtf" || word == "ansi" || word == "ansicpg" || word == "pard" ||
                         word == "f" || word == "fswiss" || word == "fcharset") {
                } else {
                    return fail("unexpected control word \\" + QString::fromStdString(word));
                }
            } else if (d == '\'') {
                if (i + 2 >= rtf.size()) return fail("short \\'");
                emitChar(static_cast<char16_t>(std::stoi(rtf.substr(i + 1, 2), nullptr, 16)));
                i += 3;
            } else if (d == '*') {
                stack.last().dest = State::Dest::Skip;
                ++i;
            } else if (d == '\\' || d == '{' || d == '}') {
                emitChar(static_cast<char16_t>(d));
                ++i;
            } else {
                return fail(QString("unexpected control symbol \\") + d);
            }
        } else {
            const auto u = static_cast<unsigned char>(c);
            if (u < 0x20 || u > 0x7E) return fail(QString("raw byte %1 in the file").arg(u));
            emitChar(static_cast<char16_t>(u));
            ++i;
        }
    }
    if (!closedTop) return fail("document not closed");
    doc.ok = true;
    return doc;
}

}  // namespace orvanta::testing
