#include "gui/kit/pdf_in_memory.h"

#include <QBuffer>
#include <QPdfWriter>

namespace orvanta {

std::optional<QByteArray> DrawPdf(const QPageLayout& layout, int resolution, const QString& title,
                                  const std::function<bool(QPagedPaintDevice&)>& paint) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        if (!buffer.open(QIODevice::WriteOnly)) return std::nullopt;
        QPdfWriter writer(&buffer);
        writer.setPageLayout(layout);
        writer.setResolution(resolution);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Orvanta"));
        if (!paint(writer)) return std::nullopt;
    }
    // The painter has ended: the trailer is written, or the document is not whole.
    if (!bytes.startsWith("%PDF-") || !bytes.trimmed().endsWith("%%EOF")) return std::nullopt;
    return bytes;
}

}  // namespace orvanta
