#include "birth_file_options.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "core/birthfile/zone_check.h"
#include "core/periods/period_export.h"
#include "core/report/report_file.h"
#include "tool_options.h"

namespace orvanta {

std::string BirthFileUsage() {
    return "\n"
           "Birth files (the program's own .orvanta, .jhd and AAF):\n" +
           OptionHelp(OptionGroup::BirthFile) +
           "  --batch FILE         also reads an AAF file, one row a record, its coordinates to\n"
           "                       the minute of arc; records whose zone the zone boxes cannot\n"
           "                       hold (local mean time) need --precise, and their classic\n"
           "                       members use the zone to the minute\n";
}

namespace {

using birthfile::FileFormat;
using birthfile::ReadRecord;

std::optional<std::string> FileText(const std::string& path, std::string& text) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return "cannot read " + path + ": " + file.errorString().toStdString();
    // One byte beyond the most a birth file may hold is enough for the reader to refuse it.
    text = file.read(birthfile::kMostFileBytes + 1).toStdString();
    return std::nullopt;
}

std::vector<std::string> FormArguments(const BirthForm& form, bool zoneInForm) {
    std::vector<std::string> args = {"--name=" + form.name,     "--month=" + form.month,   "--day=" + form.day,
                                     "--year=" + form.year,     "--hour=" + form.hour,     "--minute=" + form.minute,
                                     "--second=" + form.second, "--lat-deg=" + form.latD,  "--lat-min=" + form.latM,
                                     "--lon-deg=" + form.lonD,  "--lon-min=" + form.lonM};
    if (zoneInForm) {
        args.push_back("--zone-hour=" + form.zoneHour);
        args.push_back("--zone-minute=" + form.zoneMinute);
        if (form.dst) args.emplace_back("--dst");
    }
    if (form.south) args.emplace_back("--south");
    if (form.west) args.emplace_back("--west");
    return args;
}

std::string ShortestText(double value) {
    char text[64];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

}  // namespace

OpenedBirth OpenBirthFile(const BirthFileRequest& request, bool precise) {
    OpenedBirth opened;
    const std::string& path = *request.open;
    std::string text;
    if (const auto error = FileText(path, text)) {
        opened.exit = 66;
        opened.message = *error;
        return opened;
    }
    const std::string fileName = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
    const birthfile::FileReading reading = birthfile::ReadBirthFile(fileName, text);
    if (reading.problem) {
        opened.exit = 2;
        opened.message = birthfile::ProblemSentence(path, *reading.problem);
        return opened;
    }
    const std::size_t count = reading.records.size();
    if (count > 1 && !request.record) {
        for (std::size_t i = 0; i < count; ++i) opened.listing += std::to_string(i + 1) + "  " + reading.records[i].label + "\n";
        opened.exit = 2;
        opened.message = path + " holds " + std::to_string(count) + " records: choose one with --record N";
        return opened;
    }
    const std::size_t index = request.record ? static_cast<std::size_t>(*request.record - 1) : 0;
    if (index >= count) {
        opened.exit = 64;
        opened.message = "--record " + std::to_string(index + 1) + ": " + path + " holds " + std::to_string(count) +
                         (count == 1 ? " record" : " records");
        return opened;
    }
    opened.read = reading.records[index];
    const ReadRecord& read = opened.read;
    if (!read.zoneInForm && !precise) {
        opened.exit = 2;
        opened.message = path + ": the zone " + read.record.place->timeZone +
                         " is one the zone boxes cannot hold; add --precise to compute with it";
        return opened;
    }
    opened.arguments = FormArguments(read.record.form, read.zoneInForm);
    if (precise && read.record.settings) {
        const PeriodsSettings& s = *read.record.settings;
        opened.arguments.push_back("--ayanamsa=" + std::string(AyanamsaName(s.ayanamsa)));
        opened.arguments.push_back("--year-days=" + ShortestText(s.yearDays));
        opened.arguments.push_back("--levels=" + std::to_string(s.levels));
        if (s.uncertaintyMinutes > 0) opened.arguments.push_back("--uncertainty=" + std::to_string(s.uncertaintyMinutes));
    }
    return opened;
}

PeriodsSettings SettingsOf(const PreciseOptions& precise) {
    PeriodsSettings settings;
    if (precise.ayanamsa) settings.ayanamsa = AyanamsaFromName(*precise.ayanamsa).value_or(settings.ayanamsa);
    if (precise.yearDays) settings.yearDays = *precise.yearDays;
    settings.uncertaintyMinutes = precise.uncertaintyMinutes.value_or(0);
    settings.levels = precise.levels;
    return settings;
}

SavedBirth SaveBirthRecord(const std::string& path, const birthfile::BirthRecord& record) {
    SavedBirth saved;
    const birthfile::FileWriting writing = birthfile::WriteBirthFile(*birthfile::FormatOfName(path), {record});
    if (writing.refusal) {
        saved.refused = true;
        saved.message = "cannot save " + path + ": " + *writing.refusal;
        return saved;
    }
    saved.leftOut = writing.leftOut;
    const SaveOutcome outcome = SaveReportFile(QString::fromStdString(path), writing.contents);
    saved.saved = outcome.saved;
    if (!outcome.saved) saved.message = "cannot write " + path + ": " + outcome.reason.toStdString();
    return saved;
}

std::vector<std::string> OpenedNotes(const OpenedBirth& opened) {
    std::vector<std::string> notes = opened.read.notes;
    if (opened.read.exchanged) {
        const birthfile::ZoneCheck check = birthfile::CheckZoneWithAtlas(*opened.read.exchanged);
        if (check.difference) notes.push_back(*check.difference);
    }
    return notes;
}

BatchInput AafAsBatchCsv(std::string_view fileName, std::string_view contents, bool precise) {
    BatchInput input;
    if (birthfile::FormatOfContents(contents) != FileFormat::Aaf) return input;
    const birthfile::FileReading reading = birthfile::ReadBirthFile(fileName, contents);
    if (reading.problem) {
        input.problem = birthfile::ProblemSentence(fileName, *reading.problem);
        return input;
    }
    std::string csv = "name,month,day,year,hour,minute,second,zone-hour,zone-minute,dst,lat-deg,lat-min,south,lon-deg,"
                      "lon-min,west";
    csv += precise ? ",utc-offset\r\n" : "\r\n";
    std::size_t number = 0;
    for (const ReadRecord& read : reading.records) {
        ++number;
        BirthForm form = read.record.form;
        // A zone the boxes cannot hold (a local mean time, an offset with seconds) is the
        // row's exact offset, and its classic members are left out; else the boxes hold it.
        std::string utcOffset;
        if (!read.zoneInForm) {
            if (!precise) {
                input.problem = "The file " + std::string(fileName) + ", record " + std::to_string(number) + " (" +
                                read.label + "): the zone " + read.record.place->timeZone +
                                " is one the zone boxes cannot hold; add --precise";
                return input;
            }
            utcOffset = read.record.place->timeZone.substr(3);  // "UTC+00:21:48" without its "UTC"
            form.zoneHour.clear();
            form.zoneMinute.clear();
            form.dst = false;
        }
        const std::vector<std::string> fields = {form.name, form.month, form.day, form.year, form.hour, form.minute,
                                                 form.second, form.zoneHour, form.zoneMinute, form.dst ? "true" : "false",
                                                 form.latD, form.latM, form.south ? "true" : "false", form.lonD,
                                                 form.lonM, form.west ? "true" : "false"};
        std::string row;
        for (const std::string& field : fields) row += (row.empty() ? "" : ",") + CsvField(field);
        if (precise) row += "," + CsvField(utcOffset);
        csv += row + "\r\n";
    }
    input.csv = std::move(csv);
    return input;
}

}  // namespace orvanta
