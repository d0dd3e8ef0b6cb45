#include "ManualMovePanel.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

// A field shows its text whole when it need not scroll: the picture with the
// cursor at the end (where a scrolled field shows the last digits) is the
// same as with the cursor at the start (where it shows the sign).
bool showsWhole(QLineEdit* field, const QString& text)
{
    field->setText(text);
    field->setCursorPosition(static_cast<int>(text.size()));
    const QImage atEnd = field->grab().toImage();
    field->setCursorPosition(0);
    const QImage atStart = field->grab().toImage();
    return atEnd == atStart;
}

TEST(ManualMovePanel, PositionFieldsShowTheWidestValueWholeAtAnyFontSize)
{
    const QFont original = QApplication::font();
    for (const qreal scale : {1.0, 1.6, 2.5}) {
        QFont font = original;
        font.setPointSizeF(original.pointSizeF() * scale);
        QApplication::setFont(font);
        ManualMovePanel panel;
        panel.show();
        for (int axis = 0; axis < 3; ++axis) {
            for (const QString& value : {ManualMovePanel::widestValue(), QStringLiteral("-12700"),
                                         QStringLiteral("-2147483")})
                EXPECT_TRUE(showsWhole(panel.field(axis), value)) << qPrintable(value) << " at " << scale;
        }
        EXPECT_EQ(ManualMovePanel::widestValue(), QStringLiteral("-85899346"));
    }
    QApplication::setFont(original);
}

} // namespace
