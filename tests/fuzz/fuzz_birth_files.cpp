// The birth-file readers on arbitrary texts: a file is either refused with a line inside
// it or read into records, and what was read writes and reads back as the same birth.

#include <cstdint>
#include <string>

#include "core/birthfile/birth_record.h"
#include "core/periods/precise_chart.h"
#include "fuzz_input.h"

using namespace orvanta;
using namespace orvanta::birthfile;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const FileReading reading = ReadBirthFile("fuzz.jhd", text);
    ORVANTA_FUZZ_CHECK(reading.problem.has_value() == reading.records.empty());
    if (reading.problem) {
        ORVANTA_FUZZ_CHECK(reading.problem->line >= 0);
        ORVANTA_FUZZ_CHECK(!reading.problem->text.empty());
        return 0;
    }
    for (const ReadRecord& read : reading.records) {
        if (!read.exchanged) {  // the own format: written and read again, the same record
            const FileReading again = ReadOwnFile(WriteOwnFile(read.record));
            ORVANTA_FUZZ_CHECK(!again.problem && again.records.front().record == read.record);
            continue;
        }
        const ExchangedBirth& b = *read.exchanged;
        const FileReading again = ReadAafFile(WriteAafRecord(b));
        ORVANTA_FUZZ_CHECK(!again.problem && again.records.size() == 1);
        const ExchangedBirth& c = *again.records.front().exchanged;
        ORVANTA_FUZZ_CHECK(SecondsOfCivil(c.local) == SecondsOfCivil(b.local));
        ORVANTA_FUZZ_CHECK(c.utcOffsetSeconds == b.utcOffsetSeconds);
    }
    return 0;
}
