#pragma once

#include <QApplication>
#include <QWheelEvent>
#include <QWidget>
#include <QtTest/qtestspontaneevent.h>

// Sends one wheel message to `target` at `position` as the window system would: a spontaneous
// event, which Qt hands on to the parents while no widget takes it.
inline bool SendWheel(QWidget* target, QPoint position, int delta)
{
    QWheelEvent wheel(QPointF(position), QPointF(target->mapToGlobal(position)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::sendEvent(target, &wheel);
    return wheel.isAccepted();
}
