#include "SocketPath.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A socket path must fit in about 100 bytes; longer names are shortened
// with a hash of the whole path.
constexpr int kMaxName = 48;
} // namespace

QString SocketPath::folder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return QDir::cleanPath(runtime + QStringLiteral("/qx410"));
    return QDir::cleanPath(QDir::tempPath() + QStringLiteral("/qx410-%1").arg(::getuid()));
}

QString SocketPath::socketName(const QString& device)
{
    const QFileInfo info(device);
    QString path = info.canonicalFilePath();
    if (path.isEmpty())
        path = QDir::cleanPath(info.absoluteFilePath());
    // Letters, digits, '.' and '-' stay; '/' becomes '_'; anything else
    // (including '_') becomes %XX, so that two paths never share a name.
    QString name;
    const QByteArray bytes = path.toUtf8();
    for (int i = path.startsWith(QLatin1Char('/')) ? 1 : 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-')
            name += QLatin1Char(c);
        else if (c == '/')
            name += QLatin1Char('_');
        else
            name += QStringLiteral("%%1").arg(static_cast<unsigned char>(c), 2, 16, QLatin1Char('0')).toUpper();
    }
    if (name.startsWith(QLatin1Char('.')))
        name.prepend(QLatin1Char('_'));
    if (name.size() > kMaxName) {
        const QByteArray hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(16);
        name = name.right(kMaxName - 17) + QLatin1Char('-') + QString::fromLatin1(hash);
    }
    return name + QStringLiteral(".sock");
}

QString SocketPath::forDevice(const QString& device)
{
    return folder() + QLatin1Char('/') + socketName(device);
}

bool SocketPath::prepareFolder(const QString& folder, QString* error)
{
    const QByteArray native = QFile::encodeName(folder);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        *error = QStringLiteral("cannot create %1: %2").arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct stat st = {};
    if (::lstat(native.constData(), &st) != 0) {
        *error = QStringLiteral("cannot examine %1: %2").arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        *error = QStringLiteral("%1 is not a folder").arg(folder);
        return false;
    }
    if (st.st_uid != ::getuid()) {
        *error = QStringLiteral("%1 belongs to another user").arg(folder);
        return false;
    }
    if ((st.st_mode & 077) != 0) {
        *error = QStringLiteral("%1 can be reached by other users (mode %2); it must be 0700")
                     .arg(folder)
                     .arg(st.st_mode & 0777, 4, 8, QLatin1Char('0'));
        return false;
    }
    return true;
}
