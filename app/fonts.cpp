#include "app/fonts.h"

#include <QFont>

namespace talik {

void InstallFontSubstitutions()
{
    struct Alias
    {
        const char* stored;
        const char* installed;
    };
    static constexpr Alias Aliases[] = {
        {"ＭＳ ゴシック", "IPAGothic"}, {"ＭＳ 明朝", "IPAMincho"},   {"ＭＳ Ｐゴシック", "IPAPGothic"},
        {"ＭＳ Ｐ明朝", "IPAPMincho"},  {"MS Gothic", "IPAGothic"},   {"MS Mincho", "IPAMincho"},
        {"MS PGothic", "IPAPGothic"},   {"MS PMincho", "IPAPMincho"},
    };
    for (const Alias& alias : Aliases) {
        QFont::insertSubstitution(QString::fromUtf8(alias.stored), QString::fromUtf8(alias.installed));
    }
}

} // namespace talik
