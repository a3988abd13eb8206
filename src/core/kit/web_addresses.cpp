#include "core/kit/web_addresses.h"

#include <QRegularExpression>
#include <QStringView>

#include "core/kit/text.h"

namespace orvanta {

QUrl WebLinkUrl(WebLink link) {
    for (const auto& entry : WebLinks) {
        if (entry.link == link) return QUrl(Text(entry.address));
    }
    return {};
}

QUrl CoordinateSearchUrl(const QString& search) {
    return QUrl(Text(CoordinateSearchSite) + QString::fromLatin1(QUrl::toPercentEncoding(search)));
}

QList<WebAddressRange> FindWebAddresses(const QString& text) {
    // Starts at a word boundary; runs over the characters an address may hold.
    static const QRegularExpression address(
        QStringLiteral(R"((?<![\w.@/-])(?:https?://|www\.)[^\s<>"{}|\\^`]+)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    static const QString trailing = QStringLiteral(".,;:!?'\")]}");

    QList<WebAddressRange> found;
    for (auto it = address.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        qsizetype length = match.capturedLength();
        const QStringView word = match.capturedView();
        while (length > 0 && trailing.contains(word[length - 1])) --length;
        const QStringView kept = word.first(length);
        const qsizetype prefix = kept.startsWith(u"www.", Qt::CaseInsensitive) ? 4 : kept.indexOf(u"//") + 2;
        if (length > prefix) found.append({match.capturedStart(), length});
    }
    return found;
}

}  // namespace orvanta
