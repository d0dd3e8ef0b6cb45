#include "SettingDialogs.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

void SettingDialogs::layOut(QDialog* dialog, QWidget* box, QPushButton* ok, QPushButton* cancel)
{
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(dialog);
    layout->addWidget(box, 1);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
