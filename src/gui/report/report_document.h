#pragma once

#include <vector>

#include "core/report/report_builder.h"

class QPagedPaintDevice;
class QTextCursor;
class QTextEdit;

namespace orvanta {

// Inserts the pieces at the cursor, each with its bold, palette colour and row emphasis
// (shown as underline); every CRLF (or lone CR or LF) starts a new paragraph. Font
// family and size are left to the document's default font.
void InsertReport(QTextCursor& cursor, const std::vector<ReportPiece>& pieces);

// Prints the box's selection when `selectionOnly` and something is selected, otherwise
// the whole document, with its formatting, on a printer or into a PDF.
void PrintReport(const QTextEdit& box, QPagedPaintDevice& device, bool selectionOnly);

}  // namespace orvanta
