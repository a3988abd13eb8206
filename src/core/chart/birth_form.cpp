#include "core/base/calendar.h"
#include "core/base/trimmed.h"
#include "core/chart/birth_form.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
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
    static const auto entries = NumberEntries(kFirstFormYear, kLastFormYear);
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

// The number that one to four digits and nothing else spell; -1 for any other text.
// Written out by length, and inline (GCC keeps it out of line otherwise): a run reads
// fifteen texts through it.
inline int ShortNumber(std::string_view text) {
    const auto digit = [text](std::size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(text[i])) - unsigned{'0'};
    };
    switch (text.size()) {
    case 1: {
        const unsigned a = digit(0);
        return a <= 9 ? static_cast<int>(a) : -1;
    }
    case 2: {
        const unsigned a = digit(0), b = digit(1);
        return a <= 9 && b <= 9 ? static_cast<int>(a * 10 + b) : -1;
    }
    case 3: {
        const unsigned a = digit(0), b = digit(1), c = digit(2);
        return a <= 9 && b <= 9 && c <= 9 ? static_cast<int>(a * 100 + b * 10 + c) : -1;
    }
    case 4: {
        const unsigned a = digit(0), b = digit(1), c = digit(2), d = digit(3);
        return a <= 9 && b <= 9 && c <= 9 && d <= 9 ? static_cast<int>(a * 1000 + b * 100 + c * 10 + d) : -1;
    }
    default: return -1;
    }
}

// Whether the text is the entry std::to_string writes for a number in [first, last]:
// digits only, no sign, no leading zero.
bool IsNumberEntry(std::string_view text, int first, int last) {
    if (text.size() > 1 && text[0] == '0') return false;
    const int value = ShortNumber(text);
    return value >= 0 && value >= first && value <= last;
}

// The month's number for an entry of the month list, compared exactly; 0 for none.
// The letters pick the one name the text can be; the whole text must then match it.
int MonthNumberOf(std::string_view text) {
    if (text.size() < 3) return 0;
    int month = 0;
    switch (text[0]) {
    case 'J': month = text[2] == 'l' ? 7 : text.size() == 4 ? 6 : 1; break;
    case 'F': month = 2; break;
    case 'M': month = text[2] == 'y' ? 5 : 3; break;
    case 'A': month = text[1] == 'u' ? 8 : 4; break;
    case 'S': month = 9; break;
    case 'O': month = 10; break;
    case 'N': month = 11; break;
    case 'D': month = 12; break;
    default: return 0;
    }
    return kMonthNames[static_cast<std::size_t>(month) - 1] == text ? month : 0;
}

}  // namespace

std::optional<UnlistedText> FindUnlistedText(const BirthForm& form) {
    if (MonthNumberOf(form.month) == 0) return UnlistedText{ListField::Month, form.month};
    if (!IsNumberEntry(form.day, 1, 31)) return UnlistedText{ListField::Day, form.day};
    if (!IsNumberEntry(form.year, kFirstFormYear, kLastFormYear)) return UnlistedText{ListField::Year, form.year};
    if (!IsNumberEntry(form.hour, 0, 23)) return UnlistedText{ListField::Hour, form.hour};
    if (!IsNumberEntry(form.minute, 0, 59)) return UnlistedText{ListField::Minute, form.minute};
    if (!IsNumberEntry(form.second, 0, 59)) return UnlistedText{ListField::Second, form.second};
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

// What the checks and the reading take from one text box: whether it is blank,
// whether it spells a whole number (an optional single leading minus, then digits
// only) and the number spelled by its leading digits after an optional minus (0 when
// there are none). Blanks around the text are ignored.
struct NumberText {
    int value;  // [-1'000'000, 1'000'000]
    bool blank;
    bool whole;
};

// Any text: blanks trimmed, an optional minus, then the leading digits up to the cap.
void ReadSpelledNumber(std::string_view text, NumberText& number) {
    text = Trimmed(text);
    number.blank = text.empty();
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    std::size_t digits = 0;
    int value = 0;
    for (; digits < text.size() && IsDigit(static_cast<unsigned char>(text[digits])); ++digits) {
        value = std::min(value * 10 + (text[digits] - '0'), 1'000'000);  // far beyond any limit checked
    }
    number.whole = digits > 0 && digits == text.size();
    number.value = negative ? -value : value;
}

// A text of one to four digits and nothing else needs no trimming, has no sign and is
// below the cap; everything else is read by ReadSpelledNumber. The result is written
// in place: returned, it would be packed into one register and unpacked again.
inline void ReadNumberText(std::string_view text, NumberText& number) {
    const int value = ShortNumber(text);
    if (value < 0) return ReadSpelledNumber(text, number);
    number = {value, false, true};
}

// Every text of the form the checks and the reading look at, each read once; every
// member is set by ReadFormTexts.
struct FormTexts {
    bool nameBlank;
    int month;
    NumberText day;
    NumberText year;
    NumberText hour;
    NumberText minute;
    NumberText zoneHour;
    NumberText zoneMinute;
    NumberText lonD;
    NumberText lonM;
    NumberText latD;
    NumberText latM;
};

FormTexts ReadFormTexts(const BirthForm& form) {
    FormTexts texts;
    texts.nameBlank = std::all_of(form.name.begin(), form.name.end(), [](char c) { return c == ' '; });
    texts.month = MonthNumberOf(form.month);
    ReadNumberText(form.day, texts.day);
    ReadNumberText(form.year, texts.year);
    ReadNumberText(form.hour, texts.hour);
    ReadNumberText(form.minute, texts.minute);
    ReadNumberText(form.zoneHour, texts.zoneHour);
    ReadNumberText(form.zoneMinute, texts.zoneMinute);
    ReadNumberText(form.lonD, texts.lonD);
    ReadNumberText(form.lonM, texts.lonM);
    ReadNumberText(form.latD, texts.latD);
    ReadNumberText(form.latM, texts.latM);
    return texts;
}

bool OutOfRange(const NumberText& number, int low, int high) {
    return number.blank || number.value < low || number.value > high;
}

// The form's own check of the day against the month, not the calendar's (that is
// IsCalendarDay): divisibility by four is its whole leap-year rule, which agrees with
// the Gregorian calendar for the form's years 1901 to 2050.
bool FormDayFitsMonth(int month, int day, int year) {
    if (month == 4 || month == 6 || month == 9 || month == 11) return day != 31;
    if (month == 2) return year % 4 == 0 ? day < 30 : day < 29;
    return true;
}

std::optional<Message> FirstRefusal(const FormTexts& texts) {
    if (texts.nameBlank) return Message{"Please Enter Name", Icon::Error, Control::txtName};

    // A zone hour must be a whole number: "1-2" or "--1" cannot be read. A negative
    // one counts by its size, and no zone lies further than 13 hours from Greenwich
    // ("-13" is one of the picker's zones), so "-14" and beyond fail too.
    if (!texts.zoneHour.whole || texts.zoneHour.value > 12 || texts.zoneHour.value < -13) {
        return Message{"Please Enter Value Between 0 And 12 in the Zone Hour", Icon::Error, Control::txtZoneHour};
    }
    if (OutOfRange(texts.lonD, 0, 179)) {
        return Message{"Please Enter Value Between 0 And 179 in the Degree of Longitude", Icon::Error,
                       Control::txtLonD};
    }
    if (OutOfRange(texts.lonM, 0, 59)) {
        return Message{"Please Enter Value Between 0 And 59 in the  Minute of Longitude", Icon::Error,
                       Control::txtLonM};
    }
    if (OutOfRange(texts.latD, 0, 89)) {
        return Message{"Please Enter Value Between 0 And 89 in the Degree of Latitude", Icon::Error,
                       Control::txtLatD};
    }
    if (OutOfRange(texts.latM, 0, 59)) {
        return Message{"Please Enter Value Between 0 And 59 in the  Minute of Latitude", Icon::Error,
                       Control::txtLatM};
    }
    if (!FormDayFitsMonth(texts.month, texts.day.value, texts.year.value)) {
        return Message{"Please Enter Correct Date Of Birth", Icon::Information, Control::None};
    }
    return std::nullopt;
}

std::int16_t Int16(int value) {
    return static_cast<std::int16_t>(std::clamp(value, -32768, 32767));
}

BirthDetails Details(const BirthForm& form, const FormTexts& texts) {
    BirthDetails birth;
    birth.name = form.name;
    birth.month = static_cast<std::int16_t>(texts.month);
    birth.day = Int16(texts.day.value);
    birth.year = Int16(texts.year.value);
    birth.hour = Int16(texts.hour.value);
    birth.minute = Int16(texts.minute.value);
    // The zone's own signs carry no meaning: its direction follows the longitude.
    // An empty zone-minute text reads as 0 minutes.
    birth.zoneHours = Int16(std::abs(texts.zoneHour.value));
    birth.zoneMinutes = Int16(std::abs(texts.zoneMinute.value));
    birth.longitudeDegrees = Int16(texts.lonD.value);
    birth.longitudeMinutes = Int16(texts.lonM.value);
    birth.latitudeDegrees = Int16(texts.latD.value);
    birth.latitudeMinutes = Int16(texts.latM.value);
    birth.isEast = !form.west;
    birth.isSouth = form.south;
    birth.dst = form.dst;
    return birth;
}

}  // namespace

BirthReading CheckAndReadBirthDetails(const BirthForm& form) {
    const FormTexts texts = ReadFormTexts(form);
    if (auto refusal = FirstRefusal(texts)) return {std::move(refusal), {}};
    return {std::nullopt, Details(form, texts)};
}

std::optional<Message> ValidateBirthDetails(const BirthForm& form) { return CheckAndReadBirthDetails(form).refusal; }

BirthDetails ReadBirthDetails(const BirthForm& form) { return Details(form, ReadFormTexts(form)); }

CoordinateBoxes CoordinateBoxesOf(double latitude, double longitude) {
    const auto degreesMinutes = [](double value, int most) {
        const long minutes = std::min(std::lround(std::fabs(value) * 60.0), static_cast<long>(most) * 60 + 59);
        return std::pair{static_cast<int>(minutes / 60), static_cast<int>(minutes % 60)};
    };
    const auto twoDigits = [](int value) { return std::string{static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)}; };
    const auto [latD, latM] = degreesMinutes(latitude, 89);
    const auto [lonD, lonM] = degreesMinutes(longitude, 179);
    CoordinateBoxes boxes;
    boxes.latD = std::to_string(latD);
    boxes.latM = twoDigits(latM);
    boxes.south = latitude < 0 && (latD > 0 || latM > 0);
    boxes.lonD = std::to_string(lonD);
    boxes.lonM = twoDigits(lonM);
    boxes.west = longitude < 0 && (lonD > 0 || lonM > 0);
    boxes.east = ClassicZoneIsEast(lonD, lonM, !boxes.west);
    return boxes;
}

BirthForm WithCoordinates(BirthForm form, const CoordinateBoxes& boxes) {
    form.latD = boxes.latD;
    form.latM = boxes.latM;
    form.south = boxes.south;
    form.lonD = boxes.lonD;
    form.lonM = boxes.lonM;
    form.west = boxes.west;
    return form;
}

}  // namespace orvanta
