#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QString>

#include <functional>
#include <optional>

class QPagedPaintDevice;

namespace orvanta {

// A PDF drawn in memory, so that no half-written file can be left anywhere: `paint`
// draws the pages on the device it is given (page layout `layout`, `resolution` dots per
// inch) and returns whether it could. Nothing when drawing failed or gave no document.
std::optional<QByteArray> DrawPdf(const QPageLayout& layout, int resolution, const QString& title,
                                  const std::function<bool(QPagedPaintDevice&)>& paint);

}  // namespace orvanta
