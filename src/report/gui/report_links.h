#pragma once

#include <QList>
#include <QString>

class QTextEdit;

namespace orvanta {

// Web addresses in the report box shown as links. From EnableReportLinks on, every
// address in the box's text, also text inserted later, is shown as a link, and a left
// click on it opens it in the default browser; DisableReportLinks shows them as plain
// text again. Other clicks are left to the box as they are. Enabling twice is harmless,
// and so is disabling a box that has no links.
void EnableReportLinks(QTextEdit* box);
void DisableReportLinks(QTextEdit* box);
bool ReportLinksEnabled(const QTextEdit* box);

struct WebAddressRange {
    qsizetype start = 0;
    qsizetype length = 0;

    friend bool operator==(const WebAddressRange&, const WebAddressRange&) = default;
};

// The web addresses in a text: words starting "http://", "https://" or "www." (any
// case), up to the next blank or a character no address contains, without trailing
// punctuation.
QList<WebAddressRange> FindWebAddresses(const QString& text);

// The longest address a link opens; longer ones are left alone.
inline constexpr qsizetype kMaxLinkLength = 1023;

// Opens an address of the report in the default browser ("www." addresses as http).
// Returns false, opening nothing, for an address longer than kMaxLinkLength or one
// that is not an http(s) address.
bool OpenReportLink(const QString& address);

}  // namespace orvanta
