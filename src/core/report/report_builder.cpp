#include "core/report/report_builder.h"

#include <cstddef>
#include <utility>

namespace orvanta {

namespace {

constexpr int kBlack = 0;
constexpr int kDarkBlue = 1;
constexpr int kDarkGreen = 2;
constexpr int kDarkRed = 4;
constexpr int kBrightRed = 12;

constexpr const char* kCrLf = "\r\n";

// Blanks after the Maha Dasha title, by row position (not by lord); they line the
// "Start of Dasha" captions up under the box's proportional font.
constexpr std::array<int, Results::kRows> kRowPadding{10, 7, 11, 8, 9, 8, 5, 5, 2};

// The box's insertion state: each Insert appends one piece with the bold, colour and
// row emphasis set last.
class ReportWriter {
public:
    void SetBold(bool on) { bold_ = on; }
    void SetColour(int index) { colour_ = index; }
    void SetRowEmphasis(bool on) { rowEmphasis_ = on; }

    void Insert(std::string text) {
        pieces_.push_back({std::move(text), bold_, colour_, rowEmphasis_});
    }
    void Insert(bool bold, int colour, std::string text) {
        SetBold(bold);
        SetColour(colour);
        Insert(std::move(text));
    }

    std::vector<ReportPiece> Take() { return std::move(pieces_); }

private:
    std::vector<ReportPiece> pieces_;
    bool bold_ = false;
    int colour_ = kBlack;
    bool rowEmphasis_ = false;
};

std::string Paragraphs(std::string text, int count) {
    for (int i = 0; i < count; ++i) text += kCrLf;
    return text;
}

}  // namespace

std::vector<ReportPiece> BuildReport(const BirthDetails& birth, const Results& results,
                                     const InterpretationTexts& texts) {
    ReportWriter w;

    // The heading keeps its long-standing wording.
    w.Insert(true, kDarkRed, Paragraphs("You Details", 2));
    w.Insert(true, kDarkBlue, "Name : ");
    w.Insert(false, kDarkGreen, Paragraphs(birth.name, 2));
    w.Insert(true, kDarkBlue, "Date Of Birth : ");
    w.Insert(false, kDarkGreen,
             Paragraphs(std::to_string(birth.day) + "/" + std::to_string(birth.month) + "/" +
                            std::to_string(birth.year),
                        2));
    w.Insert(true, kDarkBlue, "Time Of Birth : ");
    w.Insert(false, kDarkGreen,
             Paragraphs(std::to_string(birth.hour) + ":" + std::to_string(birth.minute), 2));

    w.Insert(true, kDarkRed, Paragraphs("Vimshottari Dasha", 2));
    w.Insert(false, kBlack, Paragraphs(texts.introTexts[0], 2));

    for (int r = 0; r < Results::kRows; ++r) {
        const auto row = static_cast<std::size_t>(r);
        w.SetRowEmphasis(true);
        w.Insert(true, kDarkBlue,
                 results.dashaName[row].str() + std::string(static_cast<std::size_t>(kRowPadding[row]), ' '));
        w.Insert(true, kDarkBlue, "Start of Dasha : ");
        w.Insert(false, kDarkGreen, results.dashaStarts[row].str() + "    ");
        w.Insert(true, kDarkBlue, "End of Dasha : ");
        w.Insert(false, kDarkGreen,
                 Paragraphs(results.dashaEnd[row].str(), r == Results::kRows - 1 ? 3 : 2));
    }

    // Index order of the tables, whatever the chart's own sequence; the description
    // keeps the title's bold bright red.
    for (std::size_t i = 0; i < texts.dashaTitles.size(); ++i) {
        w.Insert(true, kBrightRed, Paragraphs(texts.dashaTitles[i], 1));
        w.Insert(Paragraphs(texts.dashaDescriptions[i], 2));
    }

    w.Insert(true, kDarkRed, Paragraphs("Vedic Details", 2));
    w.Insert(false, kBlack, Paragraphs(texts.introTexts[1], 2));

    const std::pair<const char*, std::string_view> details[] = {
        {"Ayanamsa : ", results.ayanamsha},       {"Lagna/Asc : ", results.lagna},
        {"Nakshatra : ", results.nakshatra},      {"Rashi : ", results.rashi},
        {"Julian Day : ", results.julianDay},     {"Lord : ", results.lord},
        {"Lagna Position : ", results.lagnaPosition},
    };
    for (const auto& [caption, value] : details) {
        w.Insert(true, kDarkBlue, caption);
        w.Insert(false, kDarkGreen, Paragraphs(std::string(value), 2));
    }
    return w.Take();
}

}  // namespace orvanta
