#include "TrafficLogModel.h"

#include <QBrush>
#include <QColor>

TrafficLogModel::TrafficLogModel(int capacity, QObject* parent)
    : QAbstractTableModel(parent)
    , m_log(capacity)
{
}

void TrafficLogModel::exchanged(const TrafficLine& line)
{
    if (m_log.isFull()) {
        beginRemoveRows(QModelIndex(), 0, 0);
        m_log.dropOldest();
        endRemoveRows();
    }
    const int row = m_log.size();
    beginInsertRows(QModelIndex(), row, row);
    m_log.exchanged(line);
    endInsertRows();
}

void TrafficLogModel::clear()
{
    beginResetModel();
    m_log.clear();
    endResetModel();
}

int TrafficLogModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_log.size();
}

int TrafficLogModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TrafficLogModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_log.size())
        return QVariant();
    const TrafficLine& line = m_log.at(index.row());
    if (role == Qt::ForegroundRole && line.direction == TrafficLine::Direction::Discarded)
        return QBrush(QColor(128, 128, 128));
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case TimeColumn:
        return TrafficLog::timeText(line.timeMs);
    case DirectionColumn:
        return TrafficLog::directionText(line.direction);
    case BytesColumn:
        return TrafficLog::hexText(line.bytes);
    case CommandColumn:
        return line.name;
    default:
        return QVariant();
    }
}

QVariant TrafficLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case TimeColumn:
        return QStringLiteral("Time");
    case DirectionColumn:
        return QStringLiteral("Direction");
    case BytesColumn:
        return QStringLiteral("Bytes");
    case CommandColumn:
        return QStringLiteral("Command");
    default:
        return QVariant();
    }
}
