#pragma once
// The list font of the address lists.
#include <QFont>

class QTreeView;

namespace talik {

struct Settings;

// The list font of the settings, at least `MinListFontSize` points.
QFont ListFont(const Settings& settings);
// Gives `view` the list font of the settings (ListFont) and lays its rows out again.
void ApplyListFont(QTreeView* view, const Settings& settings);

} // namespace talik
