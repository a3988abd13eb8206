#pragma once

#include <string>
#include <vector>

#include "core/report/report_builder.h"

namespace orvanta {

// The report as an RTF 1.x document (what Save writes and the command-line tool
// prints). Pure 7-bit ASCII: the piece texts are read as UTF-8 (a malformed byte
// becomes U+FFFD), and every character that could end a group, start a control word
// or fall outside printable ASCII is escaped, so no text can alter the document's
// structure.
//
// Default font Verdana at \fs20. The report box shows 9.75 pt, which lies halfway
// between two half-point sizes; the larger, 10 pt, is taken so that the file never
// comes out smaller than the box. Bold is \b / \b0, the colour \cfN through a colour table of
// the palette entries in use, the row emphasis underline (\ul / \ulnone), and every
// line break of the text (CRLF, or a lone CR or LF) a \par.
std::string WriteRtf(const std::vector<ReportPiece>& pieces);

}  // namespace orvanta
