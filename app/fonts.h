#pragma once

namespace talik {

// The stored font names of the program ("ＭＳ ゴシック", "ＭＳ 明朝", ...) name fonts this system does
// not have: they are drawn with the IPA Japanese fonts instead.
void InstallFontSubstitutions();

} // namespace talik
