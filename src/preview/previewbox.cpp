#include "preview/previewbox.h"

#include <QMouseEvent>
#include <QPainter>

PreviewBox::PreviewBox(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
}

void PreviewBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
    QWidget::mousePressEvent(event);
}

void PreviewBox::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
}
