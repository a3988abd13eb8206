#pragma once

#include <string>
#include <vector>

#include "chart/birth_form.h"
#include "chart/results.h"
#include "display/interpretation_texts.h"

namespace orvanta {

// One insertion at the end of the report box with the formatting then in force.
struct ReportPiece {
    std::string text;         // CRLF ends a paragraph
    bool bold = false;
    int colour = 0;           // index of the standard 16-colour palette
    bool rowEmphasis = false; // switched on at the first Maha Dasha row, never off

    friend bool operator==(const ReportPiece&, const ReportPiece&) = default;
};

std::vector<ReportPiece> BuildReport(const BirthDetails& birth, const Results& results,
                                     const InterpretationTexts& texts);

}  // namespace orvanta
