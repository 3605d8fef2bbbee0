#include "app/stop_marker.h"

std::string StopMarkerPath(const std::string& supportDirectory) {
    return supportDirectory + "\\Qmstop.txt";
}
