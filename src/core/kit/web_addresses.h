#pragma once

#include <array>
#include <string_view>

#include <QList>
#include <QString>
#include <QUrl>

#include "orvanta_version.h"

namespace orvanta {

// Every web address the program opens, in one place.
enum class WebLink { VisitUs, SoftwareUpdate, Donate, MakeMoneyOnline, DashaArticles };

struct WebLinkAddress {
    WebLink link;
    std::string_view address;
};

inline constexpr std::array<WebLinkAddress, 5> WebLinks = {{
    {WebLink::VisitUs, "https://orvanta.example/"},
    {WebLink::SoftwareUpdate, "https://orvanta.example/update/?version=" ORVANTA_VERSION},
    {WebLink::Donate, "https://orvanta.example/donate/"},
    {WebLink::MakeMoneyOnline, "https://orvanta.example/partners/"},
    {WebLink::DashaArticles, "https://orvanta.example/vimshottari-dasha/"},
}};

// The web search the coordinate search hands its text to; the text follows, percent-encoded.
inline constexpr std::string_view CoordinateSearchSite = "https://duckduckgo.com/?q=";

QUrl WebLinkUrl(WebLink link);
// A search for `search` on CoordinateSearchSite.
QUrl CoordinateSearchUrl(const QString& search);

struct WebAddressRange {
    qsizetype start = 0;
    qsizetype length = 0;

    friend bool operator==(const WebAddressRange&, const WebAddressRange&) = default;
};

// The web addresses in a text: words starting "http://", "https://" or "www." (any
// case), up to the next blank or a character no address contains, without trailing
// punctuation.
QList<WebAddressRange> FindWebAddresses(const QString& text);

}  // namespace orvanta
