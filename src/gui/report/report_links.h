#pragma once

#include <QString>

#include "core/kit/web_addresses.h"

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

// The longest address a link opens; longer ones are left alone.
inline constexpr qsizetype kMaxLinkLength = 1023;

// Opens an address of the report in the default browser ("www." addresses as http).
// Returns false, opening nothing, for an address longer than kMaxLinkLength or one
// that is not an http(s) address.
bool OpenReportLink(const QString& address);

}  // namespace orvanta
