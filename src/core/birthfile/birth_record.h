#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart/birth_form.h"
#include "core/periods/period_view.h"
#include "core/sky/birth_instant.h"

namespace orvanta::birthfile {

// A place a birth record carries: an atlas entry's name, state, country, exact
// coordinates (degrees, north and east positive) and zone, an IANA id ("Asia/Kolkata")
// or a fixed offset ("UTC+00:21:48") where a file gave a zone that no IANA id names.
struct RecordPlace {
    std::string name;
    std::string state;
    std::string country;
    std::string countryCode;
    double latitude = 0;
    double longitude = 0;
    std::string timeZone;

    friend bool operator==(const RecordPlace&, const RecordPlace&) = default;
};

// One person's birth details as the program keeps them: the birth-details form's texts
// as typed, the place attached to it, the precise settings chosen and a free note.
struct BirthRecord {
    BirthForm form;
    // Where the birth took place as a file or the coordinate search's boxes name it.
    std::string city;
    std::string state;
    std::string country;
    std::optional<RecordPlace> place;
    std::optional<PeriodsSettings> settings;
    std::string note;

    friend bool operator==(const BirthRecord&, const BirthRecord&) = default;
};

// A birth as the exchange formats (.jhd, AAF) hold it: numbers, not the form's texts.
struct ExchangedBirth {
    std::string name;
    CivilDateTime local;            // the wall clock at birth, to the second
    bool localMeanTime = false;     // the clock was the place's mean time (offset from the longitude)
    int utcOffsetSeconds = 0;       // local minus UTC in force, daylight saving included
    std::optional<int> dstSeconds;  // the daylight-saving part of the offset, when the file says
    double latitude = 0;            // degrees, north positive
    double longitude = 0;           // degrees, east positive
    std::string city;
    std::string country;
    std::string zoneName;  // an abbreviation ("CET"), when the file gives one
    std::string note;
};

enum class FileFormat { Own, Jhd, Aaf };

// ".orvanta", ".jhd", ".aaf" (case ignored); nothing for any other name.
std::optional<FileFormat> FormatOfName(std::string_view fileName);
// What a file's contents are, whatever its name: nothing when none of the three.
std::optional<FileFormat> FormatOfContents(std::string_view contents);
std::string_view FormatName(FileFormat format);  // "Orvanta birth file", ".jhd", "AAF"

// A problem of a file being read: the line it is on (from 1; 0 for the whole file) and
// a sentence for people.
struct FileProblem {
    int line = 0;
    std::string text;
};

// One record of a file read: what the program keeps, the birth as the file held it
// (nothing for the own format), one line naming it in a list to choose from, and what
// the reading noticed (a local mean time, a Julian day that outweighed the date).
struct ReadRecord {
    BirthRecord record;
    std::optional<ExchangedBirth> exchanged;
    bool zoneInForm = true;  // false: the zone boxes cannot hold the file's zone, the place carries it
    std::string label;
    std::vector<std::string> notes;
};

struct FileReading {
    std::optional<FileFormat> format;
    std::vector<ReadRecord> records;
    std::optional<FileProblem> problem;  // nothing read when set
};

// Files beyond this size are refused unread.
inline constexpr long long kMostFileBytes = 4 * 1024 * 1024;

// Reads a file's contents of any of the three formats, found by content. `fileName` is
// the file's name without its folder: a .jhd file's person is named by it.
FileReading ReadBirthFile(std::string_view fileName, std::string_view contents);

// "The file x.jhd, line 5: ..." for a problem of file `fileName`.
std::string ProblemSentence(std::string_view fileName, const FileProblem& problem);

// The contents of a file of `format` holding `records` (only AAF holds more than one),
// what the format leaves out of them, or why they cannot be written.
struct FileWriting {
    std::string contents;
    std::vector<std::string> leftOut;
    std::optional<std::string> refusal;
};
FileWriting WriteBirthFile(FileFormat format, const std::vector<BirthRecord>& records);

// The record's birth as numbers: the form read as the classic run reads it, with the
// seconds, and the attached place's exact coordinates and zone where there is one.
struct Exchange {
    std::optional<ExchangedBirth> birth;
    std::string refusal;  // why the form cannot be read
};
Exchange ExchangeOf(const BirthRecord& record);

// The record the window and the tool take from a birth of an exchange file.
ReadRecord RecordOf(const ExchangedBirth& birth);

// The own format, .jhd and AAF on their own.
FileReading ReadOwnFile(std::string_view contents);
std::string WriteOwnFile(const BirthRecord& record);
FileReading ReadJhdFile(std::string_view fileName, std::string_view contents);
std::string WriteJhdFile(const ExchangedBirth& birth);
FileReading ReadAafFile(std::string_view contents);
std::string WriteAafRecord(const ExchangedBirth& birth);

}  // namespace orvanta::birthfile
