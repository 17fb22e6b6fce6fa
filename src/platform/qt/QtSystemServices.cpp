#include "platform/qt/QtSystemServices.h"

#include <QApplication>
#include <QThread>

void QtSystemServices::beep() { QApplication::beep(); }

void QtSystemServices::sleep(int milliseconds)
{
    // The pause deliberately blocks the user-interface thread: nothing may be
    // clicked while the splash or a trace waits.
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void QtSystemServices::processEventsOnce() { QApplication::processEvents(); }
