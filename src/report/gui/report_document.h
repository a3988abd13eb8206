#pragma once

#include <vector>

#include "report/report_builder.h"

class QPrinter;
class QTextCursor;
class QTextEdit;

namespace orvanta {

// Inserts the pieces at the cursor, each with its bold, palette colour and row emphasis
// (shown as underline); every CRLF (or lone CR or LF) starts a new paragraph. Font
// family and size are left to the document's default font.
void InsertReport(QTextCursor& cursor, const std::vector<ReportPiece>& pieces);

// Prints the box's selection when the printer's range is the selection and something
// is selected, otherwise the whole document, with its formatting.
void PrintReport(const QTextEdit& box, QPrinter& printer);

}  // namespace orvanta
