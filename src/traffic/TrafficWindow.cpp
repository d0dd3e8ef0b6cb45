#include "TrafficWindow.h"

#include "Prompts.h"
#include "TracingPortDevice.h"
#include "TrafficLogModel.h"

#include <QAction>
#include <QFontDatabase>
#include <QMainWindow>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

const QString TrafficWindow::titleText = QStringLiteral("Serial Traffic");

TrafficWindow::TrafficWindow(TracingPortDevice& port, Prompts& prompts, QWidget* parent)
    : QDockWidget(titleText, parent)
    , m_port(port)
    , m_prompts(prompts)
{
    setObjectName(QStringLiteral("serialTrafficDock"));
    m_model = new TrafficLogModel(TrafficLog::defaultCapacity, this);

    auto* body = new QWidget(this);
    m_table = new QTableView(body);
    m_table->setObjectName(QStringLiteral("trafficTable"));
    m_table->setModel(m_model);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setWordWrap(false);
    m_table->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QHeaderView* header = m_table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(true);
    const int digit = m_table->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    m_table->setColumnWidth(TrafficLogModel::TimeColumn, digit * 15);
    m_table->setColumnWidth(TrafficLogModel::DirectionColumn, digit * 11);
    m_table->setColumnWidth(TrafficLogModel::BytesColumn, digit * 44);

    m_count = new QLabel(body);
    m_count->setObjectName(QStringLiteral("trafficCount"));
    auto* clearButton = new QPushButton(QStringLiteral("Clear"), body);
    clearButton->setObjectName(QStringLiteral("clearTrafficButton"));
    auto* saveButton = new QPushButton(QStringLiteral("Save..."), body);
    saveButton->setObjectName(QStringLiteral("saveTrafficButton"));
    connect(clearButton, &QPushButton::clicked, this, [this] { m_model->clear(); });
    connect(saveButton, &QPushButton::clicked, this, [this] { save(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_count, 1);
    buttons->addWidget(clearButton);
    buttons->addWidget(saveButton);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    setWidget(body);

    // Follow new lines while the view is scrolled to the end.
    connect(m_model, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] {
        QScrollBar* bar = m_table->verticalScrollBar();
        m_table->setProperty("follow", bar->value() >= bar->maximum());
    });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this] {
        if (m_table->property("follow").toBool())
            m_table->scrollToBottom();
        showCount();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, &TrafficWindow::showCount);
    // Open means not hidden by the operator: a window tabbed behind another
    // dock, or in a minimized main window, still keeps its log.
    connect(this, &QDockWidget::visibilityChanged, this, [this] { observe(!isHidden()); });
    showCount();
}

TrafficWindow* TrafficWindow::install(QMainWindow* window, QAction* toggle, TracingPortDevice& port, Prompts& prompts)
{
    auto* traffic = new TrafficWindow(port, prompts, window);
    window->addDockWidget(Qt::BottomDockWidgetArea, traffic);
    traffic->hide();
    if (toggle) {
        toggle->setChecked(false);
        connect(toggle, &QAction::toggled, traffic, &QWidget::setVisible);
        connect(traffic->toggleViewAction(), &QAction::toggled, toggle, &QAction::setChecked);
    }
    return traffic;
}

TrafficWindow::~TrafficWindow()
{
    observe(false);
}

void TrafficWindow::observe(bool on)
{
    if (on == m_observing)
        return;
    m_observing = on;
    if (on)
        m_port.addObserver(m_model);
    else
        m_port.removeObserver(m_model);
}

void TrafficWindow::showCount()
{
    const int lines = m_model->log().size();
    m_count->setText(lines == 1 ? QStringLiteral("1 line") : QStringLiteral("%1 lines").arg(lines));
}

bool TrafficWindow::save()
{
    const QString name = m_prompts.saveFileName(QStringLiteral("Save Serial Traffic"),
                                                QStringLiteral("Text Files (*.txt);;All Files (*.*)"),
                                                QStringLiteral("txt"));
    if (name.isEmpty())
        return false;
    QSaveFile file(name);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text) && file.write(m_model->log().text().toUtf8()) >= 0
        && file.commit())
        return true;
    m_prompts.message(QStringLiteral("Cannot save the serial traffic in %1: %2").arg(name, file.errorString()),
                      QStringLiteral("Warning"), Prompts::Icon::Warning, Prompts::Buttons::Ok);
    return false;
}
