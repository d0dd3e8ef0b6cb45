#pragma once

#include <QString>

// The fixed texts of the controller-program dialogs.
namespace ProgramTexts {

inline const QString warning = QStringLiteral("Warning");
inline const QString fileFilter = QStringLiteral("Qx410 Files (*.dat);;All Files (*)");
inline const QString fileSuffix = QStringLiteral("dat");

} // namespace ProgramTexts
