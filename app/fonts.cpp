#include "app/fonts.h"

#include <QFont>
#include <QGuiApplication>
#include <QStringList>

namespace talik {
namespace {

struct Alias
{
    const char* stored;
    const char* installed;
};

constexpr Alias Aliases[] = {
    {"ＭＳ ゴシック", "IPAGothic"}, {"ＭＳ 明朝", "IPAMincho"},   {"ＭＳ Ｐゴシック", "IPAPGothic"},
    {"ＭＳ Ｐ明朝", "IPAPMincho"},  {"MS Gothic", "IPAGothic"},   {"MS Mincho", "IPAMincho"},
    {"MS PGothic", "IPAPGothic"},   {"MS PMincho", "IPAPMincho"},
};

constexpr const Alias& GothicAlias = Aliases[0];

} // namespace

void InstallFontSubstitutions()
{
    for (const Alias& alias : Aliases) {
        QFont::insertSubstitution(QString::fromUtf8(alias.stored), QString::fromUtf8(alias.installed));
    }
}

void UseWindowFont()
{
    QFont font = QGuiApplication::font();
    font.setFamilies({QString::fromUtf8(GothicAlias.installed)});
    QGuiApplication::setFont(font);
}

} // namespace talik
