#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/birth_details.h"
#include "core/base/message.h"

namespace orvanta {

// The control's name as the window calls it ("txtName"); empty for Control::None.
std::string_view ControlName(Control control);

// What the birth-details window holds: the six lists as their selected texts, the
// text boxes' texts, the two option choices and the DST check box. The defaults are
// the window's start state.
struct BirthForm {
    std::string name = "S K";
    std::string month = "August";
    std::string day = "18";
    std::string year = "1981";
    std::string hour = "23";
    std::string minute = "30";
    std::string second = "0";  // shown, never read
    std::string zoneHour = "5";
    std::string zoneMinute = "30";
    bool dst = false;
    std::string latD = "23";
    std::string latM = "00";
    bool south = false;
    std::string lonD = "80";
    std::string lonM = "0";
    bool west = false;

    friend bool operator==(const BirthForm&, const BirthForm&) = default;
};

// The entries of the six selection-only lists, in list order.
const std::vector<std::string>& MonthEntries();   // "January" .. "December"
const std::vector<std::string>& DayEntries();     // "1" .. "31"
const std::vector<std::string>& YearEntries();    // "1901" .. "2050"
const std::vector<std::string>& HourEntries();    // "0" .. "23"
const std::vector<std::string>& MinuteEntries();  // "0" .. "59" (minutes and seconds)

// The six selection-only lists of the form, in the order they are checked.
enum class ListField { Month, Day, Year, Hour, Minute, Second };

// "month", "day", "year", "hour", "minute", "second".
std::string_view ListFieldName(ListField field);

// A list text that is none of its list's entries. The window's lists cannot hold one;
// a caller that fills a form by itself can.
struct UnlistedText {
    ListField field = ListField::Month;
    std::string text;

    friend bool operator==(const UnlistedText&, const UnlistedText&) = default;
};

// The first list text of the form that is not an entry of its list (compared exactly:
// "05", " 5" and "august" are none), or nothing. A form must pass this before any of
// its texts is read.
std::optional<UnlistedText> FindUnlistedText(const BirthForm& form);

// The most characters a text box takes (0: no limit).
int MaxLength(Control box);

// The key codes of Backspace and Enter as the key filter takes them.
inline constexpr char32_t kBackspace = 8;
inline constexpr char32_t kEnter = 13;

// The key filter of a text box, for one typed key code (a character, or 8 for
// Backspace, 13 for Enter). Returns the character that reaches the box (a lower-case
// letter of the name comes back upper-cased, Backspace and Enter come back as
// themselves), or nothing when the key is refused: the box is left as it was and
// KeyRefusedMessage(box) is shown.
std::optional<char32_t> FilterKey(Control box, char32_t key);
Message KeyRefusedMessage(Control box);

// The same rules for text that reaches a box other than by typing (pasting, the
// command-line tool's arguments), character by character. Backspace and Enter are
// keys, not characters of a text: inside such text they are refused like any other
// character the filter refuses. `refused` tells whether any character was dropped.
struct FilteredText {
    std::string text;
    bool refused = false;
};
FilteredText FilterText(Control box, std::string_view text);

// Puts every text box's text of a form that arrived other than by typing through
// FilterText, in the order name, zone hour, zone minute, latitude degrees and minutes,
// longitude degrees and minutes; the name comes back upper-cased. Returns the message
// of the first box that refused a character (the form then stays as it was), or nothing.
std::optional<Message> FilterFormTexts(BirthForm& form);

// The seven checks of the form, in order; nothing when the form is acceptable,
// otherwise the one message of the first failing check. The form's list texts must be
// entries of their lists (FindUnlistedText).
std::optional<Message> ValidateBirthDetails(const BirthForm& form);

// Reads a form that FindUnlistedText and ValidateBirthDetails accepted.
BirthDetails ReadBirthDetails(const BirthForm& form);

// ValidateBirthDetails and, when it passes, ReadBirthDetails, with each text of the
// form read once: the message of the first failing check, or the birth details.
struct BirthReading {
    std::optional<Message> refusal;
    BirthDetails birth;  // the default when refused
};
BirthReading CheckAndReadBirthDetails(const BirthForm& form);

// A latitude and a longitude in degrees as the form's coordinate boxes hold them: degrees
// and two-digit minutes to the nearest minute (at most 89° 59′ and 179° 59′), south or
// west only away from 0° 0′, and the zone's direction the classic run reads from them
// (ClassicZoneIsEast).
struct CoordinateBoxes {
    std::string latD, latM;
    bool south = false;
    std::string lonD, lonM;
    bool west = false;
    bool east = false;
};
CoordinateBoxes CoordinateBoxesOf(double latitude, double longitude);
// `form` with the coordinate boxes written in.
BirthForm WithCoordinates(BirthForm form, const CoordinateBoxes& boxes);

}  // namespace orvanta
