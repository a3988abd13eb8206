#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/chart/birth_form.h"
#include "core/chart/results.h"
#include "core/display/interpretation_texts.h"

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

struct PaletteColour {
    int red = 0;
    int green = 0;
    int blue = 0;

    friend bool operator==(const PaletteColour&, const PaletteColour&) = default;
};

// The standard 16-colour palette, in its customary index order (0 black .. 15 white).
inline constexpr std::array<PaletteColour, 16> kPalette{{
    {0, 0, 0},       {0, 0, 128},   {0, 128, 0},   {0, 128, 128},
    {128, 0, 0},     {128, 0, 128}, {128, 128, 0}, {192, 192, 192},
    {128, 128, 128}, {0, 0, 255},   {0, 255, 0},   {0, 255, 255},
    {255, 0, 0},     {255, 0, 255}, {255, 255, 0}, {255, 255, 255},
}};

// A colour index outside [0, 15] is read as 0 (black).
constexpr int ClampPaletteIndex(int index) noexcept {
    return index >= 0 && index < static_cast<int>(kPalette.size()) ? index : 0;
}
constexpr PaletteColour PaletteRgb(int index) noexcept {
    return kPalette[static_cast<std::size_t>(ClampPaletteIndex(index))];
}

}  // namespace orvanta
