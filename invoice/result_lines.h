// The result lines of the invoice trial and the media step: appended to the screen's result
// area, printed one per line by the command line.
#pragma once

#include <QString>
#include <functional>

using ResultLines = std::function<void(const QString& line)>;
