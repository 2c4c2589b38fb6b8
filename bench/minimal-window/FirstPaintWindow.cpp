#include "bench/minimal-window/FirstPaintWindow.h"

#include <QCoreApplication>
#include <QTimer>

FirstPaintWindow::FirstPaintWindow(bool quitAfterFirstPaint) : m_quitAfterFirstPaint(quitAfterFirstPaint) {}

void FirstPaintWindow::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    if (!m_quitAfterFirstPaint || m_painted)
        return;
    m_painted = true;
    // Queued rather than immediate: the backing store still has to flush this paint to the screen,
    // which happens before control returns to the event loop.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}
