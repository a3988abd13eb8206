#include "kit/gui/web_links.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include <utility>

namespace orvanta {

namespace {
UrlSink& Sink() {
    static UrlSink sink;
    return sink;
}

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
}  // namespace

QUrl WebLinkUrl(WebLink link) {
    for (const auto& entry : WebLinks) {
        if (entry.link == link) return QUrl(Text(entry.address));
    }
    return {};
}

QUrl CoordinateSearchUrl(const QString& city, const QString& state, const QString& country) {
    const QString search = city + u' ' + state + u' ' + country + QStringLiteral(" Latitude Longitude");
    return QUrl(Text(CoordinateSearchSite) + QString::fromLatin1(QUrl::toPercentEncoding(search)));
}

UrlSink SetUrlSink(UrlSink sink) { return std::exchange(Sink(), std::move(sink)); }

bool OpenWebAddress(const QUrl& url) {
    if (Sink()) return Sink()(url);
    return QDesktopServices::openUrl(url);
}

}  // namespace orvanta
