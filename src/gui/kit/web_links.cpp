#include "gui/kit/web_links.h"

#include <QDesktopServices>
#include <QUrl>

#include <utility>

namespace orvanta {

namespace {
UrlSink& Sink() {
    static UrlSink sink;
    return sink;
}
}  // namespace

UrlSink SetUrlSink(UrlSink sink) { return std::exchange(Sink(), std::move(sink)); }

bool OpenWebAddress(const QUrl& url) {
    if (Sink()) return Sink()(url);
    return QDesktopServices::openUrl(url);
}

}  // namespace orvanta
