#pragma once

// The forms name the font "微软雅黑", which Linux does not have. Maps it to installed
// families that hold Latin, Cyrillic, Korean and Japanese glyphs. Call once after the
// application object exists and before the first window is built.
void installFontSubstitutions();
