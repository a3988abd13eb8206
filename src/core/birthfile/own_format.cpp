// The program's own birth file: UTF-8 text, a first line "orvanta-birth 1", then one
// "key = value" a line (docs/birth_file.md lists the keys). Keys this version does not
// know are passed over, so a file of a later version opens with what this one knows.

#include <QTimeZone>

#include <algorithm>
#include <map>

#include "core/birthfile/birth_record.h"
#include "core/periods/period_tree.h"
#include "core/periods/uncertainty.h"
#include "core/zone/fixed_offset.h"
#include "file_text.h"

namespace orvanta::birthfile {
namespace {

using namespace detail;

constexpr int kVersion = 1;

struct TextKey {
    std::string_view key;
    std::string BirthForm::*field;
    Control box;  // Control::None for a list's text
};
constexpr std::array<TextKey, 13> kTextKeys = {{
    {"name", &BirthForm::name, Control::txtName},
    {"month", &BirthForm::month, Control::None},
    {"day", &BirthForm::day, Control::None},
    {"year", &BirthForm::year, Control::None},
    {"hour", &BirthForm::hour, Control::None},
    {"minute", &BirthForm::minute, Control::None},
    {"second", &BirthForm::second, Control::None},
    {"zone-hour", &BirthForm::zoneHour, Control::txtZoneHour},
    {"zone-minute", &BirthForm::zoneMinute, Control::txtZoneMinute},
    {"lat-deg", &BirthForm::latD, Control::txtLatD},
    {"lat-min", &BirthForm::latM, Control::txtLatM},
    {"lon-deg", &BirthForm::lonD, Control::txtLonD},
    {"lon-min", &BirthForm::lonM, Control::txtLonM},
}};

// Backslash, line feed and carriage return written as \\, \n and \r.
std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

std::optional<std::string> Unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        if (text[i] == '\\') out += '\\';
        else if (text[i] == 'n') out += '\n';
        else if (text[i] == 'r') out += '\r';
        else return std::nullopt;
    }
    return out;
}

struct Value {
    int line = 0;
    std::string text;
};

}  // namespace

std::string WriteOwnFile(const BirthRecord& record) {
    std::string out = std::string("orvanta-birth ") + std::to_string(kVersion) + "\n";
    const auto put = [&](std::string_view key, std::string_view value) {
        out += std::string(key) + " = " + Escaped(value) + "\n";
    };
    const BirthForm& form = record.form;
    for (const TextKey& key : kTextKeys) {
        put(key.key, form.*(key.field));
        if (key.key == "zone-minute") put("dst", form.dst ? "yes" : "no");
        if (key.key == "lat-min") put("lat-dir", form.south ? "S" : "N");
        if (key.key == "lon-min") put("lon-dir", form.west ? "W" : "E");
    }
    for (const auto& [key, text] : {std::pair{"city", &record.city}, std::pair{"state", &record.state},
                                    std::pair{"country", &record.country}}) {
        if (!text->empty()) put(key, *text);
    }
    if (record.place) {
        const RecordPlace& p = *record.place;
        put("place-name", p.name);
        put("place-state", p.state);
        put("place-country", p.country);
        put("place-country-code", p.countryCode);
        put("place-time-zone", p.timeZone);
        put("place-latitude", Exact(p.latitude));
        put("place-longitude", Exact(p.longitude));
    }
    if (record.settings) {
        const PeriodsSettings& s = *record.settings;
        put("ayanamsa", AyanamsaName(s.ayanamsa));
        put("year-days", Exact(s.yearDays));
        put("moon-position", std::string(MoonPositionName(s.moonPosition)));
        put("uncertainty-minutes", std::to_string(s.uncertaintyMinutes));
        put("levels", std::to_string(s.levels));
    }
    if (!record.note.empty()) put("note", record.note);
    return out;
}

FileReading ReadOwnFile(std::string_view contents) {
    FileReading reading;
    const std::vector<std::string_view> lines = Lines(contents);
    const auto fail = [&](int line, std::string text) {
        reading.problem = Problem(line, std::move(text));
        return reading;
    };
    std::size_t first = 0;
    while (first < lines.size() && Stripped(lines[first]).empty()) ++first;
    const std::string_view magic = first < lines.size() ? Stripped(lines[first]) : std::string_view();
    const std::optional<long long> version =
        magic.starts_with("orvanta-birth") ? WholeNumber(magic.substr(std::string_view("orvanta-birth").size()))
                                           : std::nullopt;
    if (!version || *version < 1) return fail(static_cast<int>(first) + 1, "the first line must be \"orvanta-birth 1\"");

    std::map<std::string, Value, std::less<>> values;
    for (std::size_t i = first + 1; i < lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        const std::string_view text = Stripped(lines[i]);
        if (text.empty() || text.starts_with('#')) continue;
        const std::size_t equals = text.find('=');
        if (equals == std::string_view::npos) return fail(line, "a line must read \"key = value\"");
        const std::string key(Stripped(text.substr(0, equals)));
        // Only the blanks after "=" go: a name or a note keeps its own trailing blanks.
        std::string_view raw = lines[i].substr(lines[i].find('=') + 1);
        while (raw.starts_with(' ')) raw.remove_prefix(1);
        const std::optional<std::string> value = Unescaped(raw);
        if (!value) return fail(line, "the value of \"" + key + "\" has a backslash that is not \\\\, \\n or \\r");
        if (!values.emplace(key, Value{line, *value}).second) return fail(line, "\"" + key + "\" is given twice");
    }
    const int lastLine = static_cast<int>(lines.size());
    const auto take = [&](std::string_view key) -> const Value* {
        const auto found = values.find(key);
        return found == values.end() ? nullptr : &found->second;
    };

    BirthRecord record;
    BirthForm& form = record.form;
    for (const TextKey& key : kTextKeys) {
        const Value* value = take(key.key);
        if (!value) return fail(lastLine, "the file ends without the \"" + std::string(key.key) + "\" line");
        if (key.box != Control::None) {
            const FilteredText filtered = FilterText(key.box, value->text);
            const int most = MaxLength(key.box);
            if (filtered.refused || (most > 0 && static_cast<int>(value->text.size()) > most)) {
                return fail(value->line, "\"" + value->text + "\" is not a text its box on the form takes");
            }
            form.*(key.field) = filtered.text;  // the name box upper-cases what it takes
            continue;
        }
        form.*(key.field) = value->text;
    }
    if (const auto unlisted = FindUnlistedText(form)) {
        const auto key = std::find_if(kTextKeys.begin(), kTextKeys.end(),
                                      [&](const TextKey& k) { return k.key == ListFieldName(unlisted->field); });
        return fail(take(key->key)->line, "\"" + unlisted->text + "\" is not a " + std::string(key->key) + " of the form's list");
    }
    struct Choice {
        std::string_view key;
        std::string_view no, yes;
        bool BirthForm::*field;
    };
    for (const Choice& choice : {Choice{"dst", "no", "yes", &BirthForm::dst}, Choice{"lat-dir", "N", "S", &BirthForm::south},
                                 Choice{"lon-dir", "E", "W", &BirthForm::west}}) {
        const Value* value = take(choice.key);
        if (!value) return fail(lastLine, "the file ends without the \"" + std::string(choice.key) + "\" line");
        if (value->text != choice.no && value->text != choice.yes) {
            return fail(value->line, std::string(choice.key) + " must be " + std::string(choice.no) + " or " +
                                         std::string(choice.yes));
        }
        form.*(choice.field) = value->text == choice.yes;
    }

    for (const auto& [key, field] : {std::pair{"city", &BirthRecord::city}, std::pair{"state", &BirthRecord::state},
                                     std::pair{"country", &BirthRecord::country}}) {
        if (const Value* value = take(key)) record.*field = value->text;
    }
    if (const Value* zone = take("place-time-zone")) {
        RecordPlace place;
        for (const auto& [key, field] : {std::pair{"place-name", &RecordPlace::name}, std::pair{"place-state", &RecordPlace::state},
                                         std::pair{"place-country", &RecordPlace::country},
                                         std::pair{"place-country-code", &RecordPlace::countryCode}}) {
            if (const Value* value = take(key)) place.*field = value->text;
        }
        if (!QTimeZone(QByteArray::fromStdString(zone->text)).isValid()) {
            return fail(zone->line, "the time zone \"" + zone->text + "\" is not in this system's time-zone data");
        }
        place.timeZone = zone->text;
        for (const auto& [key, field, most] : {std::tuple{"place-latitude", &RecordPlace::latitude, 90.0},
                                               std::tuple{"place-longitude", &RecordPlace::longitude, 180.0}}) {
            const Value* value = take(key);
            if (!value) return fail(lastLine, std::string("the place has no \"") + key + "\" line");
            const std::optional<double> number = DecimalNumber(value->text);
            if (!number || std::fabs(*number) > most) {
                return fail(value->line, std::string(key) + " must be a number of degrees within ±" + Exact(most));
            }
            place.*field = *number;
        }
        record.place = place;
    }

    if (take("ayanamsa") || take("year-days") || take("moon-position") || take("uncertainty-minutes") || take("levels")) {
        PeriodsSettings settings;
        if (const Value* value = take("ayanamsa")) {
            const std::optional<Ayanamsa> ayanamsa = AyanamsaFromName(value->text);
            if (!ayanamsa) return fail(value->line, "\"" + value->text + "\" is not an ayanamsa this program knows");
            settings.ayanamsa = *ayanamsa;
        }
        if (const Value* value = take("year-days")) {
            const std::optional<double> days = DecimalNumber(value->text);
            if (!days || *days < 300 || *days > 400) return fail(value->line, "year-days must lie from 300 to 400");
            settings.yearDays = *days;
        }
        if (const Value* value = take("moon-position")) {
            const std::optional<MoonPosition> position = MoonPositionFromName(value->text);
            if (!position) return fail(value->line, "moon-position must be apparent or geometric");
            settings.moonPosition = *position;
        }
        const auto whole = [&](std::string_view key, long long least, long long most, int& target) {
            const Value* value = take(key);
            if (!value) return true;
            const std::optional<long long> number = WholeNumber(value->text);
            if (!number || *number < least || *number > most) {
                reading.problem = Problem(value->line, std::string(key) + " must be a whole number from " +
                                                           std::to_string(least) + " to " + std::to_string(most));
                return false;
            }
            target = static_cast<int>(*number);
            return true;
        };
        if (!whole("uncertainty-minutes", 0, kMaxUncertaintyMinutes, settings.uncertaintyMinutes) ||
            !whole("levels", 1, kMaxPeriodLevels, settings.levels)) {
            return reading;
        }
        record.settings = settings;
    }
    if (const Value* note = take("note")) record.note = note->text;

    ReadRecord read;
    read.record = record;
    // A place of a fixed offset (a local mean time) that the zone boxes do not give as it
    // stands: the boxes hold some other zone, and the classic chart must not read them.
    if (const auto fixed = record.place ? zone::FixedOffsetOf(record.place->timeZone) : std::nullopt) {
        BirthRecord boxes = record;
        boxes.place.reset();
        const Exchange classic = ExchangeOf(boxes);
        read.zoneInForm = classic.birth && classic.birth->utcOffsetSeconds == *fixed;
    }
    read.label = form.name + ", " + form.day + " " + form.month + " " + form.year;
    if (*version > kVersion) {
        read.notes.push_back("The file was written by a later version (" + std::to_string(*version) +
                             "); what this version knows of it is read.");
    }
    reading.records.push_back(std::move(read));
    return reading;
}

}  // namespace orvanta::birthfile
