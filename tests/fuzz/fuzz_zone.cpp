// The zone reading on arbitrary inputs. A zone name is accepted only when it is one of
// the tz database's ids, and then the birth instant read in it shows the wall clock it
// was read from; a refusal names only ids of the database. Arbitrary bytes read as a
// TZif file give a zone whose offsets and changes agree with each other, or nothing.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/sky/birth_instant.h"
#include "core/zone/tz_database.h"
#include "fuzz_input.h"

using namespace orvanta;
using orvanta::fuzz::Input;

namespace {

constexpr int kMostOffset = 25 * 3600;

bool IsListedId(std::string_view text) {
    const auto& ids = zone::Database::System().Ids();
    return std::find(ids.begin(), ids.end(), text) != ids.end();  // not the binary search under test
}

void CheckName(std::string_view name, Input& in) {
    const CivilDateTime local{1800 + in.Byte() * 600 / 256, 1 + in.Byte() % 12, 1 + in.Byte() % 28,
                              in.Byte() % 24, in.Byte() % 60, in.Byte() % 60};
    const auto fold = static_cast<Fold>(in.Byte() % 3);
    const InstantResult read = InstantFromTimeZone(local, name, fold);
    const zone::Database& database = zone::Database::System();
    if (read.instant) {
        ORVANTA_FUZZ_CHECK(IsListedId(name));
        ORVANTA_FUZZ_CHECK(read.instant->timeZone == name);
        const int offset = UtcOffsetAt(*read.instant, read.instant->utcSeconds);
        ORVANTA_FUZZ_CHECK(offset == read.instant->utcOffsetSeconds);
        const std::int64_t wall = DaysFromCivil(local.year, local.month, local.day) * 86400 +
                                  local.hour * 3600 + local.minute * 60 + local.second;
        ORVANTA_FUZZ_CHECK(read.instant->utcSeconds + offset == wall);
        return;
    }
    ORVANTA_FUZZ_CHECK(!read.error.empty() && read.error.size() < 400);
    if (!IsListedId(name)) {
        ORVANTA_FUZZ_CHECK(!database.Knows(name));
        const auto suggested = database.Suggest(name);
        ORVANTA_FUZZ_CHECK(suggested.ids.size() <= 3);
        for (const std::string& id : suggested.ids) ORVANTA_FUZZ_CHECK(IsListedId(id) && id != name);
    }
}

void CheckTzif(std::string_view bytes, Input& in) {
    const auto z = zone::TimeZone::FromTzif("fuzz", bytes);
    if (!z) return;
    // Instants from 1700 to 3000, the table's end and beyond it included.
    const std::int64_t from = -8520336000 + std::int64_t{in.Byte()} * 160000000;
    const std::int64_t to = from + 1 + std::int64_t{in.Byte()} * 40000000;
    const auto changes = z->TransitionsBetween(from, to);
    std::int64_t last = from - 1;
    for (const zone::Transition& t : changes) {
        ORVANTA_FUZZ_CHECK(t.atUtc > last && t.atUtc <= to);
        ORVANTA_FUZZ_CHECK(t.offsetBefore != t.offsetAfter);
        ORVANTA_FUZZ_CHECK(z->OffsetAt(t.atUtc - 1) == t.offsetBefore && z->OffsetAt(t.atUtc) == t.offsetAfter);
        last = t.atUtc;
    }
    // Between the changes found the offset holds.
    for (int k = 0; k < 8; ++k) {
        const std::int64_t at = from + (to - from) / 8 * k;
        const auto before = std::upper_bound(changes.begin(), changes.end(), at,
                                             [](std::int64_t a, const zone::Transition& t) { return a < t.atUtc; });
        const int expected = before == changes.begin() ? z->OffsetAt(from) : (before - 1)->offsetAfter;
        ORVANTA_FUZZ_CHECK(z->OffsetAt(at) == expected);
        const zone::ZoneState state = z->StateAt(at);
        ORVANTA_FUZZ_CHECK(state.utcOffsetSeconds == expected);
        ORVANTA_FUZZ_CHECK(std::abs(expected) <= kMostOffset && std::abs(state.standardOffsetSeconds) <= kMostOffset + 3600);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    // The first byte chooses: a zone name and a local time, or TZif bytes.
    if (in.Byte() % 2 == 0) {
        const std::string name(in.Text());
        CheckName(name, in);
    } else {
        const std::string_view rest(reinterpret_cast<const char*>(data) + std::min<std::size_t>(size, 3),
                                    size - std::min<std::size_t>(size, 3));
        CheckTzif(rest, in);
        zone::IsPosixTzRule(rest.substr(0, 64));
    }
    return 0;
}
