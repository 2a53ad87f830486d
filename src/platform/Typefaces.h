#pragma once
// The typeface names the system uses ("ＭＳ ゴシック", "ＭＳ 明朝",
// "ＭＳ Ｐゴシック") are mapped once at start-up to the IPA faces that stand in
// for them, so that the code keeps the names it knows.

namespace Typefaces {
void registerSubstitutions();
} // namespace Typefaces
