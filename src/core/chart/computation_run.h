#pragma once

#include <optional>

#include "core/astro/chart_positions.h"
#include "core/chart/birth_form.h"
#include "core/chart/results.h"
#include "core/dasha/dasha.h"

namespace orvanta {

// Everything one press of "Get My Vimshottari Dasha Reading" produces.
struct ChartRun {
    BirthDetails birth;
    ChartPositions positions;
    DashaTable dasha;
    Results results;
};

// The outcome of a run: a list text that is no entry of its list, or the one message
// of the first failing check (in both cases nothing was computed), or the chart.
struct RunOutcome {
    std::optional<UnlistedText> unlisted;
    std::optional<Message> rejection;
    ChartRun chart;

    bool computed() const { return !unlisted && !rejection; }
};

// Refuses a form with a list text that is no entry of its list before reading
// anything; validates the form and, when it passes, computes the chart and the
// results window's contents.
RunOutcome RunChart(const BirthForm& form);

// What the run writes into the results window from the dasha: the Maha Dasha rows,
// the sub-period cells with every table ending on its Maha Dasha's end, the lord
// labels, the front panel, the first table trimmed to the birth date and the period
// at birth; every date as "mmm-dd-yyyy".
void HandOverDasha(const DashaTable& dasha, Results& results);
// The seven Vedic-detail labels.
void HandOverDetails(const ChartPositions& positions, const DashaTable& dasha, Results& results);

// The lord labels of the nine sub-period panels from the row titles; a panel whose
// title is none of the nine keeps its labels.
void LoadSubDashaLords(Results& results);

}  // namespace orvanta
