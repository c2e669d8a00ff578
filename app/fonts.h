#pragma once

namespace talik {

// The stored font names of the program ("ＭＳ ゴシック", "ＭＳ 明朝", ...) name fonts this system does
// not have: they are drawn with the IPA Japanese fonts instead.
void InstallFontSubstitutions();

// Draws every window in the Japanese Gothic that stands in for "ＭＳ ゴシック", at the desktop's size,
// as the program's windows were drawn on a Japanese desktop. Japanese and Latin text then come from one
// font: the first window does not wait while another font is sought for every character the desktop's
// Latin font lacks, and no second font file is held.
void UseWindowFont();

} // namespace talik
