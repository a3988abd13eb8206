#pragma once

#include <functional>

#include <QUrl>

#include "core/kit/web_addresses.h"

namespace orvanta {

// Opens an address in the default browser. A sink set here receives the addresses
// instead (tests observe them this way); returns the previous sink.
bool OpenWebAddress(const QUrl& url);
using UrlSink = std::function<bool(const QUrl& url)>;
UrlSink SetUrlSink(UrlSink sink);

}  // namespace orvanta
