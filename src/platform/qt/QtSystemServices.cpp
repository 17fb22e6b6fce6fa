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

// Repaints and other window events run; clicks and keys wait until the caller
// is done, so a click queued during a trace cannot start another one inside it.
void QtSystemServices::processEventsOnce() { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }
