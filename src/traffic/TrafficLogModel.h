#pragma once

#include "TrafficLog.h"

#include <QAbstractTableModel>

// The traffic log as a table of four columns: time, direction, bytes (hex),
// command. Lines come in through exchanged(); the oldest row goes when the
// log is full.
class TrafficLogModel : public QAbstractTableModel, public TrafficObserver
{
    Q_OBJECT

public:
    enum Column { TimeColumn, DirectionColumn, BytesColumn, CommandColumn, ColumnCount };

    explicit TrafficLogModel(int capacity = TrafficLog::defaultCapacity, QObject* parent = nullptr);

    const TrafficLog& log() const { return m_log; }
    void exchanged(const TrafficLine& line) override;
    void clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    TrafficLog m_log;
};
