#include "ui/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

namespace talik {
namespace {

// A font the program's settings may name, under its Japanese and its Latin name, and the IPA font
// that stands in for it.
struct Alias
{
    const char* japanese;
    const char* latin;
    const char* installed;
};

constexpr Alias Aliases[] = {
    {"ＭＳ ゴシック", "MS Gothic", "IPAGothic"},
    {"ＭＳ 明朝", "MS Mincho", "IPAMincho"},
    {"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic"},
    {"ＭＳ Ｐ明朝", "MS PMincho", "IPAPMincho"},
};

constexpr const Alias& GothicAlias = Aliases[0];

} // namespace

void InstallFontSubstitutions()
{
    for (const Alias& alias : Aliases) {
        const QString installed = QString::fromUtf8(alias.installed);
        QFont::insertSubstitution(QString::fromUtf8(alias.japanese), installed);
        QFont::insertSubstitution(QString::fromUtf8(alias.latin), installed);
    }
}

QString DrawnFamily(const QString& stored, const QStringList& systemFamilies)
{
    for (const Alias& alias : Aliases) {
        const QString japanese = QString::fromUtf8(alias.japanese);
        const QString latin = QString::fromUtf8(alias.latin);
        if (stored.compare(japanese, Qt::CaseInsensitive) != 0 && stored.compare(latin, Qt::CaseInsensitive) != 0) {
            continue;
        }
        const bool onSystem = systemFamilies.contains(japanese, Qt::CaseInsensitive) ||
                              systemFamilies.contains(latin, Qt::CaseInsensitive);
        return onSystem ? stored : QString::fromUtf8(alias.installed);
    }
    return stored;
}

QString DrawnFamily(const QString& stored)
{
    return DrawnFamily(stored, QFontDatabase::families());
}

void UseWindowFont()
{
    QFont font = QGuiApplication::font();
    font.setFamilies({QString::fromUtf8(GothicAlias.installed)});
    QGuiApplication::setFont(font);
}

} // namespace talik
