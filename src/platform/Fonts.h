#pragma once

#include <QFont>

// The face of every control on the program's windows, derived from the
// desktop's default. The layout was drawn in pixels for a face far narrower
// than today's default sans serif: at 7.5 points and semi-condensed each
// caption fits its control, whatever size the desktop default has.
QFont formFont(QFont font);
