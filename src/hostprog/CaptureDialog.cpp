#include "CaptureDialog.h"

#include "CaptureIcon.h"
#include "Prompts.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

CaptureDialog::CaptureDialog(PathSlots& paths, CaptureHost& host, std::unique_ptr<Prompts> prompts,
                             std::function<void()> closed, QWidget* owner)
    : QDialog(owner)
    , m_prompts(std::move(prompts))
    , m_session(paths, host, *m_prompts, std::move(closed))
{
    setWindowTitle(CaptureSession::title);
    setWindowIcon(CaptureIcon::icon());
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* fileLabel = new QLabel(QStringLiteral("File"), this);
    fileLabel->setObjectName(QStringLiteral("fileLabel"));
    QFont small = fileLabel->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    fileLabel->setFont(small);

    auto* captureBox = new QGroupBox(QStringLiteral("Capture"), this);
    captureBox->setObjectName(QStringLiteral("captureGroup"));
    auto* captureLayout = new QVBoxLayout(captureBox);
    captureLayout->addWidget(addButton(QStringLiteral("Position"), QStringLiteral("positionButton"),
                                       &CaptureSession::position));
    captureLayout->addWidget(addButton(QStringLiteral("Speed +Res"), QStringLiteral("speedButton"),
                                       &CaptureSession::speedRes));
    captureLayout->addWidget(addButton(QStringLiteral("Pause"), QStringLiteral("pauseButton"),
                                       &CaptureSession::pause));
    captureLayout->addWidget(addButton(QStringLiteral("Parameters"), QStringLiteral("parametersButton"),
                                       &CaptureSession::parameters));
    captureLayout->addStretch(1);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lineList"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->setTextElideMode(Qt::ElideNone); // a long Status line scrolls, whole
    // Wide enough for a Move line with three five-digit negative numbers.
    m_list->setMinimumWidth(m_list->fontMetrics().horizontalAdvance(QStringLiteral("Move, -12700, -12700, -12700"))
                            + 48);
    m_list->setMinimumHeight(m_list->fontMetrics().height() * 14);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &CaptureDialog::listSelectionChanged);

    auto* countLabel = new QLabel(QStringLiteral("Capture Count"), this);
    countLabel->setObjectName(QStringLiteral("countLabel"));
    m_count = new QLineEdit(this);
    m_count->setObjectName(QStringLiteral("countEdit"));
    m_count->setReadOnly(true);
    m_count->setFocusPolicy(Qt::NoFocus);
    m_count->setFixedWidth(m_count->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    countLabel->setBuddy(m_count);

    auto* editBox = new QGroupBox(QStringLiteral("Edit"), this);
    editBox->setObjectName(QStringLiteral("editGroup"));
    auto* editLayout = new QVBoxLayout(editBox);
    editLayout->addWidget(addButton(QStringLiteral("Delete Item"), QStringLiteral("deleteButton"),
                                    &CaptureSession::deleteItem));
    editLayout->addWidget(addButton(QStringLiteral("Reverse Path"), QStringLiteral("reverseButton"),
                                    &CaptureSession::reversePath));
    editLayout->addWidget(addButton(QStringLiteral("Clear List"), QStringLiteral("clearButton"),
                                    &CaptureSession::clearList));

    auto* fileBox = new QGroupBox(QStringLiteral("File"), this);
    fileBox->setObjectName(QStringLiteral("fileGroup"));
    auto* fileLayout = new QVBoxLayout(fileBox);
    fileLayout->addWidget(addButton(QStringLiteral("Load File"), QStringLiteral("loadButton"),
                                    &CaptureSession::loadFile));
    fileLayout->addWidget(addButton(QStringLiteral("Save File"), QStringLiteral("saveButton"),
                                    &CaptureSession::saveFile));

    auto* exitButton = plainButton(QStringLiteral("Exit"), QStringLiteral("exitButton"));
    connect(exitButton, &QPushButton::clicked, this, &QWidget::close);

    auto* countLayout = new QVBoxLayout;
    countLayout->addWidget(countLabel);
    countLayout->addWidget(m_count);

    auto* right = new QVBoxLayout;
    right->addWidget(editBox);
    right->addWidget(fileBox);
    right->addStretch(1);

    auto* grid = new QGridLayout(this);
    grid->addWidget(fileLabel, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(captureBox, 1, 0);
    grid->addWidget(m_list, 1, 1, 2, 1);
    grid->addLayout(right, 1, 2);
    grid->addLayout(countLayout, 2, 0, Qt::AlignLeft | Qt::AlignBottom);
    grid->addWidget(exitButton, 2, 2, Qt::AlignBottom);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);

    showState();
}

CaptureDialog::~CaptureDialog() = default;

QPushButton* CaptureDialog::plainButton(const QString& caption, const QString& name)
{
    // No button of this window is pressed by Enter: a stray Enter must not
    // record a line or query the controller.
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QPushButton* CaptureDialog::addButton(const QString& caption, const QString& name, void (CaptureSession::*action)())
{
    auto* button = plainButton(caption, name);
    connect(button, &QPushButton::clicked, this, [this, action] {
        (m_session.*action)();
        showState();
    });
    return button;
}

void CaptureDialog::reject()
{
    close();
}

void CaptureDialog::closeEvent(QCloseEvent* event)
{
    if (!m_session.exit()) {
        event->ignore();
        return;
    }
    event->accept();
}

void CaptureDialog::listSelectionChanged()
{
    const QList<QListWidgetItem*> picked = m_list->selectedItems();
    m_session.select(picked.isEmpty() ? -1 : m_list->row(picked.first()));
}

void CaptureDialog::showState()
{
    const QStringList& lines = m_session.lines();
    const int shown = m_list->count();
    const int wanted = static_cast<int>(lines.size());

    // Only the rows that differ are replaced, so the list keeps its scroll
    // position.
    int head = 0;
    while (head < shown && head < wanted && m_list->item(head)->text() == lines.at(head))
        ++head;
    int tail = 0;
    while (tail < shown - head && tail < wanted - head
           && m_list->item(shown - 1 - tail)->text() == lines.at(wanted - 1 - tail))
        ++tail;

    const QSignalBlocker blocker(m_list);
    for (int row = shown - tail - 1; row >= head; --row)
        delete m_list->takeItem(row);
    for (int row = head; row < wanted - tail; ++row)
        m_list->insertItem(row, lines.at(row));

    const int selected = m_session.selected();
    if (selected >= 0) {
        m_list->setCurrentRow(selected, QItemSelectionModel::ClearAndSelect);
    } else {
        m_list->clearSelection();
        m_list->setCurrentItem(nullptr);
    }
    if (head < wanted - tail)
        m_list->scrollToItem(m_list->item(wanted - tail - 1));

    m_count->setText(m_session.countText());
}
