#pragma once

namespace gf {

// Title of the program's application window; the running instance is found by it and
// the platform's own message windows carry it.
inline constexpr const char* kApplicationTitle = "Tannwald";

} // namespace gf
