#pragma once

#include <string_view>

#include <QString>

namespace orvanta {

// A UTF-8 text of the core as a QString.
inline QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace orvanta
