#include "gui/report/report_document.h"

#include <QBrush>
#include <QColor>
#include <QPagedPaintDevice>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace orvanta {

void InsertReport(QTextCursor& cursor, const std::vector<ReportPiece>& pieces) {
    for (const ReportPiece& piece : pieces) {
        QTextCharFormat format;
        format.setFontWeight(piece.bold ? QFont::Bold : QFont::Normal);
        const PaletteColour c = PaletteRgb(piece.colour);
        format.setForeground(QColor(c.red, c.green, c.blue));
        format.setFontUnderline(piece.rowEmphasis);

        const QString text = QString::fromUtf8(piece.text.data(), static_cast<qsizetype>(piece.text.size()));
        qsizetype start = 0;
        for (qsizetype i = 0; i <= text.size(); ++i) {
            const bool end = i == text.size();
            if (!end && text[i] != u'\r' && text[i] != u'\n') continue;
            if (i > start) cursor.insertText(text.mid(start, i - start), format);
            if (end) break;
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            cursor.insertBlock(cursor.blockFormat(), format);
            start = i + 1;
        }
    }
}

void PrintReport(const QTextEdit& box, QPagedPaintDevice& device, bool selectionOnly) {
    const QTextCursor selection = box.textCursor();
    if (!selectionOnly || !selection.hasSelection()) {
        box.document()->print(&device);
        return;
    }
    QTextDocument part;
    part.setDefaultFont(box.document()->defaultFont());
    part.setDocumentMargin(box.document()->documentMargin());
    QTextCursor(&part).insertFragment(selection.selection());
    part.print(&device);
}

}  // namespace orvanta
