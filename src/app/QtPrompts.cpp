#include "QtPrompts.h"

#include "NumberEntryDialog.h"

#include <QFileDialog>
#include <QMessageBox>
#include <cstdlib>

Prompts::Answer QtPrompts::message(const QString& text, const QString& caption, Icon icon, Buttons buttons)
{
    return messageWithDetail(text, caption, icon, buttons, QString());
}

Prompts::Answer QtPrompts::messageWithDetail(const QString& text, const QString& caption, Icon icon, Buttons buttons,
                                             const QString& detail)
{
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
    case Icon::None:
        break;
    case Icon::Warning:
    case Icon::Exclamation:
        boxIcon = QMessageBox::Warning;
        break;
    case Icon::Question:
        boxIcon = QMessageBox::Question;
        break;
    case Icon::Stop:
        boxIcon = QMessageBox::Critical;
        break;
    case Icon::Information:
        boxIcon = QMessageBox::Information;
        break;
    }
    QMessageBox::StandardButtons standard = QMessageBox::Ok;
    switch (buttons) {
    case Buttons::Ok:
        break;
    case Buttons::OkCancel:
        standard = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case Buttons::YesNo:
        standard = QMessageBox::Yes | QMessageBox::No;
        break;
    case Buttons::YesNoCancel:
        standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    }
    QMessageBox box(boxIcon, caption, text, standard, m_owner);
    box.setInformativeText(detail);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
}

QString QtPrompts::openFileName(const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileName(m_owner, title, QString(), filter);
}

QString QtPrompts::openFileNameFrom(const QString& title, const QString& filter, const QString& start)
{
    return QFileDialog::getOpenFileName(m_owner, title, start, filter);
}

QString QtPrompts::saveFileName(const QString& title, const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(m_owner, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                  : QString();
}

std::optional<int> QtPrompts::number(const QString& title, const QString& label, int initial, int minimum,
                                     int maximum)
{
    return NumberEntryDialog::ask(m_owner, title, label, initial, minimum, maximum);
}

void QtPrompts::endProcess(int status)
{
    std::exit(status);
}
