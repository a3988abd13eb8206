#pragma once

#include <array>
#include <functional>
#include <string_view>

#include <QString>
#include <QUrl>

namespace orvanta {

// Every web address the program opens, in one place.
enum class WebLink { VisitUs, SoftwareUpdate, Donate, MakeMoneyOnline, DashaArticles };

struct WebLinkAddress {
    WebLink link;
    std::string_view address;
};

inline constexpr std::array<WebLinkAddress, 5> WebLinks = {{
    {WebLink::VisitUs, "https://orvanta.example/"},
    {WebLink::SoftwareUpdate, "https://orvanta.example/update/?version=1.75"},
    {WebLink::Donate, "https://orvanta.example/donate/"},
    {WebLink::MakeMoneyOnline, "https://orvanta.example/partners/"},
    {WebLink::DashaArticles, "https://orvanta.example/vimshottari-dasha/"},
}};

// The web search the coordinate search hands its text to; the text follows, percent-encoded.
inline constexpr std::string_view CoordinateSearchSite = "https://duckduckgo.com/?q=";

QUrl WebLinkUrl(WebLink link);
// "<city> <state> <country> Latitude Longitude" as a search on CoordinateSearchSite.
QUrl CoordinateSearchUrl(const QString& city, const QString& state, const QString& country);

// Opens an address in the default browser. A sink set here receives the addresses
// instead (tests observe them this way); returns the previous sink.
bool OpenWebAddress(const QUrl& url);
using UrlSink = std::function<bool(const QUrl& url)>;
UrlSink SetUrlSink(UrlSink sink);

}  // namespace orvanta
