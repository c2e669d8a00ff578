#pragma once
// Qt text from the dialler's UTF-8.
#include <string_view>

#include <QString>

namespace talik::dialler {

inline QString Qs(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace talik::dialler
