#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/zone/tz_zone.h"

namespace orvanta::zone {

// The system's tz database: the zone ids it names (the Zone and Link names of its
// tzdata.zi, or where that file is missing the compiled zone files of its folder) and
// their data, each zone read once. Safe to use from several threads.
class Database {
public:
    // The folder of $TZDIR, else the first of the usual zoneinfo folders that exists.
    static const Database& System();
    explicit Database(std::string folder);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    bool Readable() const { return !ids_.empty(); }
    // Exactly as written: "Asia/Kolkata"; never "asia/kolkata", "IST" or a POSIX TZ rule.
    bool Knows(std::string_view id) const;
    const std::vector<std::string>& Ids() const { return ids_; }  // sorted
    // The zone of a known id; nothing for another text or when its file cannot be read.
    std::shared_ptr<const TimeZone> Zone(std::string_view id) const;
    // Up to three ids `text` may have meant: the same id up to case and blanks, a
    // city part ("Kolkata"), a country name or code of the zone table ("India", "IN"),
    // an abbreviation in use today ("IST"), "UTC+4" as Etc/GMT-4.
    struct Suggestions {
        std::vector<std::string> ids;
        std::size_t more = 0;  // further zones of the same country or abbreviation
    };
    Suggestions Suggest(std::string_view text) const;
    // The sentence refusing `text` as a zone id, naming the suggestions; for an id whose
    // file cannot be read, the sentence saying so.
    std::string UnknownZoneSentence(std::string_view text) const;

private:
    struct Tables;
    const Tables& ZoneTables() const;

    std::string folder_;
    std::vector<std::string> ids_;
    struct Cache;
    std::unique_ptr<Cache> cache_;
};

}  // namespace orvanta::zone
