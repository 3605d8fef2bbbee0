#pragma once
// The file whose presence keeps the screen from appearing at all.
#include <string>

// The stop marker of an installed product, in its support directory.
std::string StopMarkerPath(const std::string& supportDirectory);
