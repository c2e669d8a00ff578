#pragma once

#include <QString>
#include <QStringList>

namespace talik {

// The stored font names of the program ("ＭＳ ゴシック", "ＭＳ 明朝", ...) name fonts this system does
// not have: they are drawn with the IPA Japanese fonts instead.
void InstallFontSubstitutions();

// The family to draw a stored font name with: the IPA font that stands in for an "ＭＳ" name when
// the system has that font under neither of its names, else the stored name itself. Qt asked for a
// family it lacks first sorts every font of the system for a fallback, before it tries the
// substitute; naming the stand-in at once spares the window that waits for it.
QString DrawnFamily(const QString& stored, const QStringList& systemFamilies);
// The same against the fonts of this system.
QString DrawnFamily(const QString& stored);

// Draws every window in the Japanese Gothic that stands in for "ＭＳ ゴシック", at the desktop's size,
// as the program's windows were drawn on a Japanese desktop. Japanese and Latin text then come from one
// font: the first window does not wait while another font is sought for every character the desktop's
// Latin font lacks, and no second font file is held.
void UseWindowFont();

} // namespace talik
