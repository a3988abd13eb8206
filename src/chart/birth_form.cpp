#include "chart/birth_form.h"
#include "base/trimmed.h"

#include <algorithm>
#include <array>
#include <utility>

namespace orvanta {

std::string_view ControlName(Control control) {
    switch (control) {
    case Control::None: return {};
    case Control::txtName: return "txtName";
    case Control::txtZoneHour: return "txtZoneHour";
    case Control::txtZoneMinute: return "txtZoneMinute";
    case Control::txtLatD: return "txtLatD";
    case Control::txtLatM: return "txtLatM";
    case Control::txtLonD: return "txtLonD";
    case Control::txtLonM: return "txtLonM";
    case Control::txtMCity: return "txtMCity";
    case Control::txtMState: return "txtMState";
    case Control::txtMCountry: return "txtMCountry";
    }
    return {};
}

namespace {

constexpr std::array<std::string_view, 12> kMonthNames = {"January", "February", "March",     "April",
                                                          "May",     "June",     "July",      "August",
                                                          "September", "October", "November", "December"};

std::vector<std::string> NumberEntries(int first, int last) {
    std::vector<std::string> entries;
    for (int i = first; i <= last; ++i) entries.push_back(std::to_string(i));
    return entries;
}

}  // namespace

const std::vector<std::string>& MonthEntries() {
    static const std::vector<std::string> entries(kMonthNames.begin(), kMonthNames.end());
    return entries;
}
const std::vector<std::string>& DayEntries() {
    static const auto entries = NumberEntries(1, 31);
    return entries;
}
const std::vector<std::string>& YearEntries() {
    static const auto entries = NumberEntries(1901, 2050);
    return entries;
}
const std::vector<std::string>& HourEntries() {
    static const auto entries = NumberEntries(0, 23);
    return entries;
}
const std::vector<std::string>& MinuteEntries() {
    static const auto entries = NumberEntries(0, 59);
    return entries;
}

std::string_view ListFieldName(ListField field) {
    switch (field) {
    case ListField::Month: return "month";
    case ListField::Day: return "day";
    case ListField::Year: return "year";
    case ListField::Hour: return "hour";
    case ListField::Minute: return "minute";
    case ListField::Second: return "second";
    }
    return {};
}

namespace {

// Whether the text is the entry std::to_string writes for a number in [first, last]:
// digits only, no sign, no leading zero.
bool IsNumberEntry(std::string_view text, int first, int last) {
    if (text.empty() || text.size() > 4 || (text.size() > 1 && text[0] == '0')) return false;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value >= first && value <= last;
}

// The month's number for an entry of the month list, compared exactly; 0 for none.
int MonthNumberOf(std::string_view month) {
    for (std::size_t i = 0; i < kMonthNames.size(); ++i) {
        if (kMonthNames[i] == month) return static_cast<int>(i) + 1;
    }
    return 0;
}

}  // namespace

std::optional<UnlistedText> FindUnlistedText(const BirthForm& form) {
    const std::array<std::pair<ListField, const std::string*>, 6> lists = {{
        {ListField::Month, &form.month},
        {ListField::Day, &form.day},
        {ListField::Year, &form.year},
        {ListField::Hour, &form.hour},
        {ListField::Minute, &form.minute},
        {ListField::Second, &form.second},
    }};
    for (const auto& [field, text] : lists) {
        const bool listed = field == ListField::Month  ? MonthNumberOf(*text) > 0
                            : field == ListField::Day  ? IsNumberEntry(*text, 1, 31)
                            : field == ListField::Year ? IsNumberEntry(*text, 1901, 2050)
                            : field == ListField::Hour ? IsNumberEntry(*text, 0, 23)
                                                       : IsNumberEntry(*text, 0, 59);
        if (!listed) return UnlistedText{field, *text};
    }
    return std::nullopt;
}

int MaxLength(Control box) {
    switch (box) {
    case Control::txtZoneHour:
    case Control::txtLonD: return 3;
    case Control::txtZoneMinute:
    case Control::txtLatD:
    case Control::txtLatM:
    case Control::txtLonM: return 2;
    default: return 0;
    }
}

namespace {

bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }

bool IsNumericBox(Control box) {
    return box == Control::txtZoneHour || box == Control::txtZoneMinute || box == Control::txtLatD ||
           box == Control::txtLatM || box == Control::txtLonD || box == Control::txtLonM;
}

}  // namespace

std::optional<char32_t> FilterKey(Control box, char32_t key) {
    if (box == Control::txtName) {
        if (key >= 'a' && key <= 'z') return key - 'a' + 'A';
        if ((key >= 'A' && key <= 'Z') || key == ' ' || key == kEnter || key == kBackspace) return key;
        return std::nullopt;
    }
    if (IsNumericBox(box)) {
        if (IsDigit(key) || key == kBackspace) return key;
        if (box == Control::txtZoneHour && key == '-') return key;
        return std::nullopt;
    }
    return key;  // the city, state and country boxes take anything
}

Message KeyRefusedMessage(Control box) {
    if (box == Control::txtName) return {"Please Enter only Letters", Icon::Information, box};
    return {"Only Numbers Are Accepted", Icon::Error, box};
}

FilteredText FilterText(Control box, std::string_view text) {
    if (box != Control::txtName && !IsNumericBox(box)) return {std::string(text), false};
    FilteredText result;
    for (const char c : text) {
        const auto key = static_cast<unsigned char>(c);
        // Backspace and Enter are keys; inside a text they are refused characters.
        const auto accepted = key == kBackspace || key == kEnter || key >= 0x80
                                  ? std::nullopt
                                  : FilterKey(box, key);
        if (accepted) {
            result.text += static_cast<char>(*accepted);
        } else {
            result.refused = true;
        }
    }
    return result;
}

std::optional<Message> FilterFormTexts(BirthForm& form) {
    BirthForm filteredForm = form;  // the form changes only when every box passes
    const std::array<std::pair<Control, std::string*>, 7> boxes = {{
        {Control::txtName, &filteredForm.name},
        {Control::txtZoneHour, &filteredForm.zoneHour},
        {Control::txtZoneMinute, &filteredForm.zoneMinute},
        {Control::txtLatD, &filteredForm.latD},
        {Control::txtLatM, &filteredForm.latM},
        {Control::txtLonD, &filteredForm.lonD},
        {Control::txtLonM, &filteredForm.lonM},
    }};
    for (const auto& [box, text] : boxes) {
        FilteredText filtered = FilterText(box, *text);
        if (filtered.refused) return KeyRefusedMessage(box);
        *text = std::move(filtered.text);
    }
    form = std::move(filteredForm);
    return std::nullopt;
}

namespace {


// The number spelled by the leading digits after an optional minus; 0 when there are none.
long NumericValue(std::string_view text) {
    text = Trimmed(text);
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    long value = 0;
    for (const char c : text) {
        if (!IsDigit(static_cast<unsigned char>(c))) break;
        value = std::min(value * 10 + (c - '0'), 1'000'000L);  // far beyond any limit checked
    }
    return negative ? -value : value;
}

// An optional single leading minus followed by digits only.
bool IsWholeNumber(std::string_view text) {
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool OutOfRange(std::string_view text, long low, long high) {
    if (Trimmed(text).empty()) return true;
    const long value = NumericValue(text);
    return value < low || value > high;
}

int MonthNumber(std::string_view month) { return MonthNumberOf(month); }

// Divisibility by four is the whole leap-year rule here; it agrees with the
// Gregorian calendar for 1901 to 2050.
bool DateExists(int month, long day, long year) {
    if (month == 4 || month == 6 || month == 9 || month == 11) return day != 31;
    if (month == 2) return year % 4 == 0 ? day < 30 : day < 29;
    return true;
}

}  // namespace

std::optional<Message> ValidateBirthDetails(const BirthForm& form) {
    if (Trimmed(form.name).empty()) return Message{"Please Enter Name", Icon::Error, Control::txtName};

    // A zone hour must be a whole number: "1-2" or "--1" cannot be read. A negative
    // one counts by its size, and no zone lies further than 13 hours from Greenwich
    // ("-13" is one of the picker's zones), so "-14" and beyond fail too.
    const std::string_view zone = Trimmed(form.zoneHour);
    if (!IsWholeNumber(zone) || NumericValue(zone) > 12 || NumericValue(zone) < -13) {
        return Message{"Please Enter Value Between 0 And 12 in the Zone Hour", Icon::Error, Control::txtZoneHour};
    }
    if (OutOfRange(form.lonD, 0, 179)) {
        return Message{"Please Enter Value Between 0 And 179 in the Degree of Longitude", Icon::Error,
                       Control::txtLonD};
    }
    if (OutOfRange(form.lonM, 0, 59)) {
        return Message{"Please Enter Value Between 0 And 59 in the  Minute of Longitude", Icon::Error,
                       Control::txtLonM};
    }
    if (OutOfRange(form.latD, 0, 89)) {
        return Message{"Please Enter Value Between 0 And 89 in the Degree of Latitude", Icon::Error,
                       Control::txtLatD};
    }
    if (OutOfRange(form.latM, 0, 59)) {
        return Message{"Please Enter Value Between 0 And 59 in the  Minute of Latitude", Icon::Error,
                       Control::txtLatM};
    }
    if (!DateExists(MonthNumber(form.month), NumericValue(form.day), NumericValue(form.year))) {
        return Message{"Please Enter Correct Date Of Birth", Icon::Information, Control::None};
    }
    return std::nullopt;
}

namespace {
std::int16_t Int16(long value) {
    return static_cast<std::int16_t>(std::clamp(value, -32768L, 32767L));
}
}  // namespace

BirthDetails ReadBirthDetails(const BirthForm& form) {
    BirthDetails birth;
    birth.name = form.name;
    birth.month = static_cast<std::int16_t>(MonthNumber(form.month));
    birth.day = Int16(NumericValue(form.day));
    birth.year = Int16(NumericValue(form.year));
    birth.hour = Int16(NumericValue(form.hour));
    birth.minute = Int16(NumericValue(form.minute));
    // The zone's own signs carry no meaning: its direction follows the longitude.
    // An empty zone-minute text reads as 0 minutes.
    birth.zoneHours = Int16(std::labs(NumericValue(form.zoneHour)));
    birth.zoneMinutes = Int16(std::labs(NumericValue(form.zoneMinute)));
    birth.longitudeDegrees = Int16(NumericValue(form.lonD));
    birth.longitudeMinutes = Int16(NumericValue(form.lonM));
    birth.latitudeDegrees = Int16(NumericValue(form.latD));
    birth.latitudeMinutes = Int16(NumericValue(form.latM));
    birth.isEast = !form.west;
    birth.isSouth = form.south;
    birth.dst = form.dst;
    return birth;
}

}  // namespace orvanta
