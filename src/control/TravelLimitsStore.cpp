#include "TravelLimitsStore.h"

#include "TravelLimitsText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

TravelLimitsStore::TravelLimitsStore(const QString& folder)
    : m_path(QDir(folder).filePath(QString::fromLatin1(TravelLimitsText::fileName)))
{
}

TravelLimitsStore::Read TravelLimitsStore::load(TravelLimits* limits, QString* error) const
{
    const QFileInfo info(m_path);
    if (!info.exists() && !info.isSymLink())
        return Read::Missing;
    auto unreadable = [&](const QString& why) {
        if (error)
            *error = why;
        return Read::Unreadable;
    };
    // A FIFO or a device would hang the read or never end.
    if (!info.isFile())
        return unreadable(QStringLiteral("not a regular file"));
    if (info.size() > qint64(TravelLimitsText::maxBytes))
        return unreadable(QStringLiteral("larger than %1 bytes").arg(TravelLimitsText::maxBytes));
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(file.errorString());
    const QByteArray content = file.read(qint64(TravelLimitsText::maxBytes) + 1);
    std::string why;
    const std::optional<TravelLimits> read = TravelLimitsText::parse(content.toStdString(), &why);
    if (!read)
        return unreadable(QString::fromStdString(why));
    *limits = *read;
    return Read::Ok;
}

bool TravelLimitsStore::save(const TravelLimits& limits, QString* error) const
{
    QSaveFile file(m_path);
    const QByteArray content = QByteArray::fromStdString(TravelLimitsText::format(limits));
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit())
        return true;
    if (error)
        *error = QStringLiteral("%1 could not be written (%2).").arg(m_path, file.errorString());
    return false;
}

QString TravelLimitsStore::unreadableText(const QString& reason) const
{
    return QStringLiteral("%1 cannot be read (%2).").arg(m_path, reason);
}
