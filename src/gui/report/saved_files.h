#pragma once

#include <QPageLayout>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QPagedPaintDevice;
class QWidget;

namespace orvanta {

// Qt's save dialog for every file the windows write (the report, PDFs, calendars and
// tables), created once and kept for the whole run: a file dialog writes its history and
// last folder into Qt's settings file when it is destroyed, and nothing but the chosen
// files may be written, so they last in memory as long as the program. A folder that
// does not exist keeps the user in the dialog with a message. Asks before replacing a
// file; `suffix` is added to a name typed without one. The chosen path, or nothing when
// cancelled.
std::optional<QString> ChooseSavePath(QWidget* parent, const QString& filter, const QString& suffix);

// Writes `contents` through the report's save: the whole file or nothing. A failed write
// says so in one message box, "The <what> could not be saved as <path>." and the system's
// reason. Returns whether it was written.
bool SaveFileOrSay(QWidget* parent, const QString& path, const std::string& contents, const char* what);

// Draws a PDF in memory (DrawPdf: `paint` on pages of `layout` at `resolution` dots per
// inch, titled `title`) and saves it with SaveFileOrSay as `saved`; where it could not be
// drawn, "The <drawn> could not be drawn as a PDF." and nothing is written.
bool SavePdfOrSay(QWidget* parent, const QString& path, const QPageLayout& layout, int resolution, const QString& title,
                  const std::function<bool(QPagedPaintDevice&)>& paint, const char* drawn, const char* saved);

}  // namespace orvanta
