#include "CQx410View.h"

#include <QPainter>

CQx410View::CQx410View(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
}

void CQx410View::moveMarker(const Position&, const Position& to)
{
    m_marker = to;
    update();
}

void CQx410View::onCaptureClosed()
{
}

void CQx410View::paintEvent(QPaintEvent*)
{
    if (m_onPaint)
        m_onPaint();
}
