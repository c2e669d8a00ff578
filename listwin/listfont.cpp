#include "listwin/listfont.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QHeaderView>
#include <QTreeView>

#include "store/settings.h"
#include "ui/fonts.h"
#include "ui/qtinteraction.h"

namespace talik {
namespace {

// How much wider the same text is in `after` than in `before` (kana, kanji and digits, as the
// list shows them).
double WidthRatio(const QFont& before, const QFont& after)
{
    const QString sample = QStringLiteral("ｱｲｳｴｵ 山田太郎 03-1234-5678");
    const double old = QFontMetricsF(before).horizontalAdvance(sample);
    return old > 0 ? QFontMetricsF(after).horizontalAdvance(sample) / old : 1.0;
}

} // namespace

QFont ListFont(const Settings& settings)
{
    QFont font(DrawnFamily(Qs(settings.ListFontName)));
    font.setPointSize(std::max(settings.ListFontSize, MinListFontSize));
    return font;
}

void ApplyListFont(QTreeView* view, const Settings& settings)
{
    const QFont font = ListFont(settings);
    // The columns grow and shrink with the font, so that what they showed still fits.
    const double ratio = WidthRatio(view->font(), font);
    view->setFont(font);
    QHeaderView* header = view->header();
    for (int section = 0; section < header->count(); ++section) {
        header->resizeSection(section, static_cast<int>(std::ceil(header->sectionSize(section) * ratio)));
    }
    view->doItemsLayout();
    view->viewport()->update();
}

} // namespace talik
