// The core's text readers on arbitrary texts: the Moon position reader and the dasha
// behind it, the boxes' filters, the form's checks and reader, the calendar's texts
// and the year splitter.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/astro/astronomy.h"
#include "core/chart/birth_form.h"
#include "core/dasha/calendar.h"
#include "core/dasha/dasha.h"
#include "fuzz_input.h"

using namespace orvanta;
using orvanta::fuzz::Input;

namespace {

constexpr Control kBoxes[] = {Control::txtName,  Control::txtZoneHour, Control::txtZoneMinute, Control::txtLatD,
                              Control::txtLatM,  Control::txtLonD,     Control::txtLonM,       Control::txtMCity,
                              Control::txtMState, Control::txtMCountry};

void CheckMoonText(std::string_view text, Date date) {
    const std::optional<int> arcMinutes = MoonArcMinutes(text);
    const std::optional<DashaTable> table = CalculateDasha(date, text);
    const bool inYears = date.year >= kFirstDashaBirthYear && date.year <= kLastDashaBirthYear;
    ORVANTA_FUZZ_CHECK(table.has_value() == (arcMinutes.has_value() && date.ok() && inYears));
    if (!arcMinutes) return;
    ORVANTA_FUZZ_CHECK(*arcMinutes >= 0 && *arcMinutes <= 21599);
    // An accepted text is one the Moon routine writes for that arc-minute (seconds aside).
    const std::string written = FormatSignPosition((*arcMinutes + 0.5) / 60.0);
    ORVANTA_FUZZ_CHECK(MoonArcMinutes(written) == arcMinutes);
    if (!table) return;
    ORVANTA_FUZZ_CHECK(table->moonArcMinutes == *arcMinutes);
    ORVANTA_FUZZ_CHECK(table->birthLordIndex >= 0 && table->birthLordIndex < kLords);
    ORVANTA_FUZZ_CHECK(table->elapsedArcMinutes >= 0 && table->elapsedArcMinutes < 800);
    for (int lord = 0; lord < kLords; ++lord) {
        const auto l = static_cast<std::size_t>(lord);
        ORVANTA_FUZZ_CHECK(table->mahaStart[l].ok() && table->mahaEnd[l].ok());
        ORVANTA_FUZZ_CHECK(table->mahaStart[l] < table->mahaEnd[l]);
        for (std::size_t k = 0; k < 9; ++k) ORVANTA_FUZZ_CHECK(table->subStart[l][k].ok() && table->subEnd[l][k].ok());
    }
}

void CheckFilters(Control box, std::string_view text) {
    const FilteredText filtered = FilterText(box, text);
    ORVANTA_FUZZ_CHECK(filtered.text.size() <= text.size());
    ORVANTA_FUZZ_CHECK(filtered.refused == (filtered.text.size() < text.size()));
    for (const char c : filtered.text) {
        const auto key = static_cast<unsigned char>(c);
        const std::optional<char32_t> typed = FilterKey(box, key);
        ORVANTA_FUZZ_CHECK(typed && *typed == key);  // what passes is what typing keeps
    }
    for (const char c : text) {
        const std::optional<char32_t> typed = FilterKey(box, static_cast<unsigned char>(c));
        if (typed) ORVANTA_FUZZ_CHECK(*typed < 0x100);
    }
}

void CheckYears(double x) {
    if (!(x >= 0 && x <= 20)) return;
    const YearsMonthsDays split = SplitYears(x);
    ORVANTA_FUZZ_CHECK(split.months >= 0 && split.months <= 11);
    ORVANTA_FUZZ_CHECK(split.days >= 0 && split.days <= 29);
    ORVANTA_FUZZ_CHECK(split.years >= 0 && split.years <= 20);
    // Truncated parts: never more than x (beyond the 15-digit rounding), short of it by
    // less than a day.
    const double back = split.years + split.months / 12.0 + split.days / 360.0;
    ORVANTA_FUZZ_CHECK(back <= x + 1e-12 && x - back < 1 / 360.0 + 1e-12);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const std::uint8_t which = in.Byte();

    Date date;
    const int high = in.Byte();
    date.year = static_cast<std::int16_t>(high << 8 | in.Byte());
    date.month = static_cast<std::int8_t>(in.Byte());
    date.day = static_cast<std::int8_t>(in.Byte());
    ORVANTA_FUZZ_CHECK(FormatDisplayDate(date).size() == 11);
    ORVANTA_FUZZ_CHECK(FormatIsoDate(date).size() == 10);
    if (date.ok()) ORVANTA_FUZZ_CHECK(CivilFromDays(DaysFromCivil(date)) == date);

    double x = 0;
    std::uint8_t bytes[sizeof x];
    for (auto& b : bytes) b = in.Byte();
    std::memcpy(&x, bytes, sizeof x);
    CheckYears(x);
    CheckYears(std::fmod(std::fabs(x), 20.0));
    const std::string decimal = DecimalText(x);
    ORVANTA_FUZZ_CHECK(!decimal.empty() && decimal.find('e') == std::string::npos);

    const std::string_view text = in.Text();
    CheckMoonText(text, date);
    CheckFilters(kBoxes[which % std::size(kBoxes)], text);
    (void)LordIndexOfTitle(text);
    (void)RashiName(text);

    // The form's checks and reader on arbitrary box texts with list texts from the input.
    BirthForm form;
    form.month = std::string(in.Text());
    form.day = std::string(in.Text());
    form.year = std::string(in.Text());
    form.name = std::string(in.Text());
    form.zoneHour = std::string(in.Text());
    form.zoneMinute = std::string(in.Text());
    form.latD = std::string(in.Text());
    form.latM = std::string(in.Text());
    form.lonD = std::string(in.Text());
    form.lonM = std::string(in.Text());
    const BirthForm before = form;
    if (FilterFormTexts(form)) ORVANTA_FUZZ_CHECK(form == before);
    if (FindUnlistedText(form)) return 0;
    if (ValidateBirthDetails(form)) return 0;
    const BirthDetails birth = ReadBirthDetails(form);
    ORVANTA_FUZZ_CHECK((Date{birth.year, birth.month, birth.day}.ok()));
    ORVANTA_FUZZ_CHECK(birth.zoneHours >= 0 && birth.zoneHours <= 13);
    ORVANTA_FUZZ_CHECK(birth.latitudeDegrees >= 0 && birth.latitudeDegrees <= 89);
    ORVANTA_FUZZ_CHECK(birth.longitudeDegrees >= 0 && birth.longitudeDegrees <= 179);
    return 0;
}
