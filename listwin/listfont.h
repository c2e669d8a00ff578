#pragma once
// The list font of the address lists.
class QTreeView;

namespace talik {

struct Settings;

// Gives `view` the list font of the settings (at least 6 points) and lays its rows out again.
void ApplyListFont(QTreeView* view, const Settings& settings);

} // namespace talik
