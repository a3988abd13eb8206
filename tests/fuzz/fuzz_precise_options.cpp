// The precise options on arbitrary argument lists, one argument a line. What is taken
// lies in its range: a level from 1 to 5, a year of 300 to 400 days, a birth-time window
// of 0 to 360 minutes, a date to look at from 1800 to 2519, a zone that is one of the tz
// database's ids (read without the zone boxes); the classic options are left as given.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/zone/tz_database.h"
#include "fuzz_input.h"
#include "precise_output.h"
#include "tool_options.h"

using namespace orvanta;
using orvanta::fuzz::Input;

namespace {

std::string_view NameOf(std::string_view arg) { return arg.substr(0, arg.find('=')); }

bool IsPreciseOption(std::string_view arg) {
    for (const std::string_view name : {"--precise", "--format", "--time-zone", "--fold", "--ayanamsa", "--year-days",
                                        "--levels", "--on", "--uncertainty"}) {
        if (NameOf(arg) == name) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    std::vector<std::string> texts;
    while (!in.empty() && texts.size() < 64) texts.emplace_back(in.Text());
    const std::vector<std::string_view> given(texts.begin(), texts.end());
    std::vector<std::string_view> args = given;
    ToolArguments parsed;
    if (TakePreciseOptions(args, parsed)) return 0;
    const PreciseOptions& options = parsed.precise;

    ORVANTA_FUZZ_CHECK(args.size() <= given.size());
    ORVANTA_FUZZ_CHECK(options.levels >= 1 && options.levels <= 5);
    if (options.yearDays) ORVANTA_FUZZ_CHECK(*options.yearDays >= 300 && *options.yearDays <= 400);
    if (options.uncertaintyMinutes) ORVANTA_FUZZ_CHECK(*options.uncertaintyMinutes >= 0 && *options.uncertaintyMinutes <= 360);
    if (options.on) ORVANTA_FUZZ_CHECK(options.on->year >= 1800 && options.on->year <= 2519);
    if (options.preciseYear) ORVANTA_FUZZ_CHECK(*options.preciseYear >= 1800 && *options.preciseYear <= 2399);
    if (options.timeZone) {
        ORVANTA_FUZZ_CHECK(options.enabled && !options.timeZone->empty());
        // No zone box stays beside a zone id (values of other options aside).
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string_view name = NameOf(args[i]);
            if (name == "--zone-hour" || name == "--zone-minute" || name == "--dst") {
                ORVANTA_FUZZ_CHECK(i > 0 && args[i - 1].find('=') == std::string::npos &&
                                   (args[i - 1] == "--name" || args[i - 1] == "--month" || args[i - 1] == "--day" ||
                                    args[i - 1] == "--year" || args[i - 1] == "--hour" || args[i - 1] == "--minute" ||
                                    args[i - 1] == "--second" || args[i - 1] == "--zone-hour" ||
                                    args[i - 1] == "--zone-minute" || args[i - 1] == "--lat-deg" ||
                                    args[i - 1] == "--lat-min" || args[i - 1] == "--lon-deg" ||
                                    args[i - 1] == "--lon-min" || args[i - 1] == "--report"));
            }
        }
        // The zone is read only as one of the database's ids.
        const InstantResult read = InstantFromTimeZone({2000, 1, 1, 12, 0, 0}, *options.timeZone, Fold::Earlier);
        const auto& ids = zone::Database::System().Ids();
        ORVANTA_FUZZ_CHECK(read.instant.has_value() ==
                           (std::find(ids.begin(), ids.end(), *options.timeZone) != ids.end()));
    }
    // What is left holds no precise option, but as a value of a classic one.
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (IsPreciseOption(args[i]) && NameOf(args[i]) != "--precise") {
            ORVANTA_FUZZ_CHECK(i > 0 && args[i - 1].starts_with("--") && args[i - 1].find('=') == std::string::npos);
        }
    }
    return 0;
}
