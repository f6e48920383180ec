#pragma once

#include <QString>

// The program's name as the desktop and untitled message boxes show it.
inline const QString ApplicationTitle = QStringLiteral("Lablist");
