#pragma once

// Plays the operator in front of a modal dialog: once the dialog's own
// modal loop runs, operatorDoes gets the dialog. A second timer closes any
// modal window still up after a few seconds, so that a fault fails the test
// instead of hanging it. No real message box is ever involved: the dialogs'
// questions go through scripted prompts.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

#include <gtest/gtest.h>

template <typename Dialog, typename Result>
Result playOperator(const std::function<Result()>& openModal, const std::function<void(Dialog&)>& operatorDoes)
{
    bool played = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        played = true;
        operatorDoes(*dialog);
    });
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] {
        if (QWidget* w = QApplication::activeModalWidget())
            w->close();
    });
    safety.start(5000);
    const Result result = openModal();
    EXPECT_TRUE(played) << "the dialog was not shown modally";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the dialog is still up";
    return result;
}
