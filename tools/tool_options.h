#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "birth_file_options.h"
#include "core/chart/birth_form.h"
#include "place_options.h"
#include "precise_output.h"

namespace orvanta {

// Who reads an option: the birth-details form, the classic outputs, the tool itself,
// the precise method, the batch, the atlas, the birth files.
enum class OptionGroup { Form, Output, About, Precise, Batch, Place, BirthFile };

// What the options of one command line (or one batch row) give.
struct ToolArguments {
    BirthForm form;
    bool json = false;
    std::optional<std::string> report;  // path, or "-" for standard output
    PreciseOptions precise;
    PlaceRequest place;
    BirthFileRequest files;
    std::optional<std::string> batchFile;  // --batch
    std::optional<unsigned> jobs;          // --jobs
};

class OptionReading;
struct ToolOption;
// Checks one value of the option and stores it: nothing, or the sentence refusing it.
// A flag is read with an empty value.
using OptionReader = std::optional<std::string> (*)(OptionReading&, const ToolOption&, std::string_view value);

// What else an option means to the others.
enum OptionTrait : unsigned {
    kZoneBox = 1u,      // a zone box of the form: not with a zone id or a fixed offset
    kPlaceField = 2u,   // filled by --place, so not given with it
    kNamesPlace = 4u,   // detaches an opened file's place from the birth
    kBatchLine = 8u,    // read on a --batch line (the rest comes from the file's columns)
};

// One option of orvanta-chart. The command line and the batch cells are read through
// these, --help is written from them, the batch columns are those marked, and the manual
// page's OPTIONS are held to --help by a test.
struct ToolOption {
    std::string_view name = {};          // without "--"
    std::string_view shortName = {};     // a one-letter alias without "-", or empty
    std::string_view valueName = {};     // empty for a flag
    std::string_view defaultValue = {};  // what the option is when not given, as --help shows it
    std::string_view help = {};          // its lines, '\n' between them; "{}" stands for the default
    OptionGroup group = OptionGroup::Form;
    bool batchColumn = false;       // a column a --batch file may name (without "--")
    OptionReader read = nullptr;
    unsigned traits = 0;
    // A text of the form: the list it must be an entry of, or the box whose length it keeps.
    std::string BirthForm::*field = nullptr;
    std::optional<ListField> list = std::nullopt;
    Control box = Control::None;
    std::string_view needs = "a value";  // what a missing value is called

    bool flag() const { return valueName.empty(); }
};

std::span<const ToolOption> ToolOptions();
// The option of that name (without "--"), or nothing.
const ToolOption* FindToolOption(std::string_view name);

// The --help lines of a group's options, in the table's order.
std::string OptionHelp(OptionGroup group);

// One option as given: its value (nothing for a flag, or for a value missing at the end
// of the line) and the argument it was written as. Unknown arguments have no option.
struct GivenOption {
    const ToolOption* option = nullptr;
    std::optional<std::string_view> value;
    std::string_view argument;
    bool separate = false;  // the value is the argument after it
};

// The readings of a command line, in the order the tool refuses their problems: the
// birth-file options (before the file is opened), the precise method's, the atlas's, and
// last the form's and the outputs', which refuses every argument left unknown. Each takes
// its options (with their values: "--name=X", or "--name X" with X as it stands even when
// it begins with "-") out of `args`, leaving the rest in order to the next, and gives the
// sentence about the first unusable argument, or nothing.
std::optional<std::string> TakeBirthFileOptions(std::vector<std::string_view>& args, ToolArguments& out);
std::optional<std::string> TakePreciseOptions(std::vector<std::string_view>& args, ToolArguments& out);
std::optional<std::string> TakePlaceOptions(std::vector<std::string_view>& args, ToolArguments& out);
std::optional<std::string> TakeFormOptions(std::vector<std::string_view>& args, ToolArguments& out);
// --batch, --jobs, --precise and --json: the first argument a --batch line cannot hold.
std::optional<std::string> ReadBatchLine(std::span<const std::string_view> args, ToolArguments& out);

// A batch row's options, given from its cells (--precise first with the precise method):
// the precise method's, then the form's.
std::optional<std::string> ReadPreciseOptions(std::span<const GivenOption> row, ToolArguments& out);
std::optional<std::string> ReadFormOptions(std::span<const GivenOption> row, ToolArguments& out);

// Whether an argument ("--west", "--lat-deg=5") names an option of `trait`.
bool NamesOption(std::string_view arg, OptionTrait trait);

}  // namespace orvanta
