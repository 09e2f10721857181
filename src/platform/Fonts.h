#pragma once

namespace gf {

// The windows ask for "Arial", "Comic Sans MS" and "Courier New". Mapping them to
// their metric-compatible free fonts keeps text widths (and FontFactor) the same
// on every machine. Call once after the application object exists.
void registerFontSubstitutes();

} // namespace gf
