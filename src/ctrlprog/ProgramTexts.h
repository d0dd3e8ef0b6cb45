#pragma once

#include <QString>

// The fixed texts of the controller-program dialogs.
namespace ProgramTexts {

inline const QString warning = QStringLiteral("Warning");
inline const QString fileFilter = QStringLiteral("Qx410 Files (*.dat);;All Files (*)");
inline const QString fileSuffix = QStringLiteral("dat");
// A transfer that the link gave up on part way (the operator was asked to
// reset communication); %1 the program number.
inline const QString downloadFailedText =
    QStringLiteral("The download failed: program %1 was not stored completely. Download the file again.");
inline const QString uploadFailedText =
    QStringLiteral("The upload failed: program %1 could not be read from the controller. No file was written.");

} // namespace ProgramTexts
