#pragma once

#include <span>
#include <string>
#include <string_view>

namespace orvanta {

// Who reads an option: the birth-details form, the classic outputs, the tool itself,
// the precise method, the batch, the atlas, the birth files.
enum class OptionGroup { Form, Output, About, Precise, Batch, Place, BirthFile };

// One option of orvanta-chart. --help is written from these, the batch columns are
// those marked, and the manual page's OPTIONS are held to --help by a test.
struct ToolOption {
    std::string_view name;       // without "--"
    std::string_view shortName;  // a one-letter alias without "-", or empty
    std::string_view valueName;  // empty for a flag
    std::string_view help;       // its lines, '\n' between them; the default in parentheses
    OptionGroup group;
    bool batchColumn;            // a column a --batch file may name (without "--")
};

std::span<const ToolOption> ToolOptions();

// The --help lines of a group's options, in the table's order.
std::string OptionHelp(OptionGroup group);

}  // namespace orvanta
