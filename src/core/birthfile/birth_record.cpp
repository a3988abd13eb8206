#include "core/birthfile/birth_record.h"

#include <QDateTime>
#include <QStringDecoder>
#include <QTimeZone>

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/periods/precise_chart.h"
#include "core/zone/fixed_offset.h"
#include "file_text.h"

namespace orvanta::birthfile {
namespace detail {

int FirstLineNotUtf8(const std::vector<std::string_view>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString decoded = decoder(QByteArrayView(lines[i].data(), static_cast<qsizetype>(lines[i].size())));
        if (decoder.hasError() || lines[i].find('\0') != std::string_view::npos) return static_cast<int>(i) + 1;
    }
    return 0;
}

std::string Fixed(double value, int decimals) {
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr;
    std::string result(text, end);
    // "-0.000000" reads as zero to every reader, but writers never put it.
    if (result.find_first_not_of("-0.") == std::string::npos && result.starts_with('-')) result.erase(0, 1);
    return result;
}

std::string Exact(double value) {
    char text[64];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

std::string TwoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

FileProblem Problem(int line, std::string text) { return FileProblem{line, std::move(text)}; }

}  // namespace detail

namespace {

using namespace detail;

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return lower;
}

constexpr std::string_view kOwnMagic = "orvanta-birth";

bool HasArcSeconds(double value) {
    const double seconds = std::fabs(value) * 3600.0;
    return std::fabs(seconds - std::round(seconds / 60.0) * 60.0) >= 0.5;
}

// The most a zone box holds: 12 hours 59 minutes either way of Greenwich.
constexpr int kMostZoneMagnitude = 12 * 3600 + 59 * 60;

std::string DateText(const CivilDateTime& t) {
    return std::to_string(t.day) + "." + std::to_string(t.month) + "." + std::to_string(t.year) + " " +
           TwoDigits(t.hour) + ":" + TwoDigits(t.minute) + ":" + TwoDigits(t.second);
}

}  // namespace

std::optional<FileFormat> FormatOfName(std::string_view fileName) {
    const std::string lower = Lower(fileName);
    if (lower.ends_with(".orvanta")) return FileFormat::Own;
    if (lower.ends_with(".jhd")) return FileFormat::Jhd;
    if (lower.ends_with(".aaf")) return FileFormat::Aaf;
    return std::nullopt;
}

std::optional<FileFormat> FormatOfContents(std::string_view contents) {
    const std::vector<std::string_view> lines = Lines(contents.substr(0, 64 * 1024));
    std::vector<std::string_view> filled;
    for (std::string_view line : lines) {
        if (!Stripped(line).empty()) filled.push_back(Stripped(line));
        if (filled.size() == 4) break;
    }
    if (filled.empty()) return std::nullopt;
    if (filled.front().starts_with(kOwnMagic)) return FileFormat::Own;
    for (std::string_view line : lines) {
        if (Stripped(line).starts_with("#A93:")) return FileFormat::Aaf;
    }
    // .jhd: month, day and year as whole numbers, then the time as a decimal one.
    if (filled.size() == 4 && WholeNumber(filled[0]) && WholeNumber(filled[1]) && WholeNumber(filled[2]) &&
        DecimalNumber(filled[3])) {
        return FileFormat::Jhd;
    }
    return std::nullopt;
}

std::string_view FormatName(FileFormat format) {
    switch (format) {
    case FileFormat::Own: return "Orvanta birth file";
    case FileFormat::Jhd: return ".jhd";
    case FileFormat::Aaf: return "AAF";
    }
    return {};
}

FileReading ReadBirthFile(std::string_view fileName, std::string_view contents) {
    FileReading reading;
    if (static_cast<long long>(contents.size()) > kMostFileBytes) {
        reading.problem = Problem(0, "it is larger than " + std::to_string(kMostFileBytes / (1024 * 1024)) +
                                         " MB, far more than any file of birth details");
        return reading;
    }
    if (const int line = FirstLineNotUtf8(Lines(contents))) {
        reading.problem = Problem(line, "the text is not UTF-8; save the file as UTF-8 and open it again");
        return reading;
    }
    const std::optional<FileFormat> format = FormatOfContents(contents);
    if (!format) {
        reading.problem = Problem(0, "it is neither an Orvanta birth file nor a .jhd nor an AAF file");
        return reading;
    }
    switch (*format) {
    case FileFormat::Own: reading = ReadOwnFile(contents); break;
    case FileFormat::Jhd: reading = ReadJhdFile(fileName, contents); break;
    case FileFormat::Aaf: reading = ReadAafFile(contents); break;
    }
    reading.format = format;
    if (reading.problem) reading.records.clear();
    return reading;
}

std::string ProblemSentence(std::string_view fileName, const FileProblem& problem) {
    std::string text = "The file " + std::string(fileName);
    if (problem.line > 0) text += ", line " + std::to_string(problem.line);
    text += " cannot be opened: " + problem.text;
    if (!text.ends_with('.')) text += '.';
    return text;
}

Exchange ExchangeOf(const BirthRecord& record) {
    const BirthForm& form = record.form;
    if (const auto unlisted = FindUnlistedText(form)) {
        return {std::nullopt, "The " + std::string(ListFieldName(unlisted->field)) + " \"" + unlisted->text +
                                  "\" is none of its list's entries."};
    }
    const BirthReading read = CheckAndReadBirthDetails(form);
    if (read.refusal) return {std::nullopt, read.refusal->text};
    const BirthDetails& d = read.birth;
    ExchangedBirth birth;
    birth.name = std::string(Stripped(form.name));
    birth.local = {d.year, d.month, d.day, d.hour, d.minute, std::stoi(form.second)};
    birth.note = record.note;
    birth.city = record.city;
    birth.country = record.country;
    if (record.place) {
        const RecordPlace& place = *record.place;
        const InstantResult instant = InstantFromTimeZone(birth.local, place.timeZone, Fold::Earlier);
        if (!instant.instant) return {std::nullopt, instant.error};
        birth.utcOffsetSeconds = instant.instant->utcOffsetSeconds;
        const bool fixed = zone::FixedOffsetOf(place.timeZone).has_value();
        if (fixed) {
            birth.dstSeconds = 0;
        } else {
            const QTimeZone zone(QByteArray::fromStdString(place.timeZone));
            const QDateTime atUtc = QDateTime::fromSecsSinceEpoch(instant.instant->utcSeconds, Qt::UTC);
            birth.dstSeconds = birth.utcOffsetSeconds - zone.standardTimeOffset(atUtc);
        }
        birth.latitude = place.latitude;
        birth.longitude = place.longitude;
        birth.localMeanTime = fixed && birth.utcOffsetSeconds == static_cast<int>(std::lround(place.longitude * 240.0));
        if (!place.name.empty()) birth.city = place.name;
        if (!place.country.empty()) birth.country = place.country;
        return {birth, {}};
    }
    const bool east = ClassicZoneIsEast(d.longitudeDegrees, d.longitudeMinutes, d.isEast);
    const InstantResult instant = InstantFromClassicZone(birth.local, d.zoneHours, d.zoneMinutes, d.dst, east);
    if (!instant.instant) return {std::nullopt, instant.error};
    birth.utcOffsetSeconds = instant.instant->utcOffsetSeconds;
    birth.dstSeconds = d.dst ? 3600 : 0;
    birth.latitude = (d.latitudeDegrees + d.latitudeMinutes / 60.0) * (d.isSouth ? -1 : 1);
    birth.longitude = (d.longitudeDegrees + d.longitudeMinutes / 60.0) * (d.isEast ? 1 : -1);
    return {birth, {}};
}

ReadRecord RecordOf(const ExchangedBirth& birth) {
    ReadRecord read;
    BirthForm& form = read.record.form;
    const FilteredText name = FilterText(Control::txtName, birth.name);
    form.name = name.text;
    if (name.refused) {
        read.notes.push_back("The name \"" + birth.name + "\" is read as \"" + name.text +
                             "\": the Name box takes letters and blanks only.");
    }
    const CivilDateTime& t = birth.local;
    form.month = MonthEntries()[static_cast<std::size_t>(t.month - 1)];
    form.day = std::to_string(t.day);
    form.year = std::to_string(t.year);
    form.hour = std::to_string(t.hour);
    form.minute = std::to_string(t.minute);
    form.second = std::to_string(t.second);
    const CoordinateBoxes boxes = CoordinateBoxesOf(birth.latitude, birth.longitude);
    form = WithCoordinates(std::move(form), boxes);

    // The classic zone reading: magnitude toward the longitude's side, DST one hour east.
    const bool east = boxes.east;
    const bool dst = birth.dstSeconds.value_or(0) >= 3600;
    const int hour = dst ? 3600 : 0;
    const int magnitude = east ? birth.utcOffsetSeconds - hour : hour - birth.utcOffsetSeconds;
    read.zoneInForm = !birth.localMeanTime && birth.utcOffsetSeconds % 60 == 0 && magnitude >= 0 &&
                      magnitude <= kMostZoneMagnitude;
    if (read.zoneInForm) {
        form.zoneHour = std::to_string(magnitude / 3600);
        form.zoneMinute = TwoDigits(magnitude / 60 % 60);
        form.dst = dst;
    }
    if (!read.zoneInForm || HasArcSeconds(birth.latitude) || HasArcSeconds(birth.longitude)) {
        // The form holds whole minutes of arc and zones of whole minutes: the place keeps
        // the file's exact figures for the precise periods.
        RecordPlace place;
        place.name = birth.city;
        place.country = birth.country;
        place.latitude = birth.latitude;
        place.longitude = birth.longitude;
        place.timeZone = zone::FixedOffsetText(birth.utcOffsetSeconds);
        read.record.place = place;
    }
    if (birth.localMeanTime) {
        read.notes.push_back("The birth time is local mean time, " + zone::FixedOffsetText(birth.utcOffsetSeconds) +
                             " at this longitude; the precise periods read it as such.");
    }
    if (t.year < kFirstFormYear || t.year > kLastFormYear) {
        read.notes.push_back("The year " + form.year + " lies outside the form's years 1901 to 2050; only the precise method reads it.");
    }
    read.record.note = birth.note;
    read.record.city = birth.city;
    read.record.country = birth.country;
    read.label = (form.name.empty() ? std::string("(no name)") : form.name) + ", " + DateText(t);
    if (!birth.city.empty()) read.label += ", " + birth.city;
    return read;
}

FileWriting WriteBirthFile(FileFormat format, const std::vector<BirthRecord>& records) {
    FileWriting writing;
    if (records.empty() || (format != FileFormat::Aaf && records.size() != 1)) {
        writing.refusal = "A " + std::string(FormatName(format)) + " file holds one birth.";
        return writing;
    }
    if (format == FileFormat::Own) {
        writing.contents = WriteOwnFile(records.front());
        return writing;
    }
    for (const BirthRecord& record : records) {
        const Exchange exchange = ExchangeOf(record);
        if (!exchange.birth) {
            writing.refusal = exchange.refusal;
            return writing;
        }
        writing.contents += format == FileFormat::Jhd ? WriteJhdFile(*exchange.birth) : WriteAafRecord(*exchange.birth);
        const std::string where = std::string(FormatName(format)) + " file";
        const auto leave = [&](std::string text) {
            if (std::find(writing.leftOut.begin(), writing.leftOut.end(), text) == writing.leftOut.end()) {
                writing.leftOut.push_back(std::move(text));
            }
        };
        if (record.place && !zone::FixedOffsetOf(record.place->timeZone)) {
            leave("the zone name " + record.place->timeZone + " (the " + where + " keeps the offset in force)");
        }
        if (format == FileFormat::Jhd) {
            leave("the name (a .jhd file is named after the person)");
            if (exchange.birth->dstSeconds.value_or(0) != 0) leave("which hour of the zone is daylight saving");
            if (exchange.birth->localMeanTime) leave("that the time is local mean time");
            if (exchange.birth->utcOffsetSeconds % 60 != 0) leave("the seconds of the zone");
        }
        if (record.settings) leave("the precise settings (ayanamsa, year length, uncertainty, levels)");
        if ((record.place && !record.place->state.empty()) || !record.state.empty()) leave("the state of the place");
        if (!record.note.empty() && format == FileFormat::Jhd) leave("the note");
    }
    return writing;
}

}  // namespace orvanta::birthfile
