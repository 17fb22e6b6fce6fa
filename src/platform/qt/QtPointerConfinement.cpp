#include "platform/qt/QtPointerConfinement.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>

void QtPointerConfinement::confine(const QRect& screenPixels)
{
    rect_ = screenPixels;
    if (!installed_) {
        qApp->installEventFilter(this);
        installed_ = true;
    }
}

void QtPointerConfinement::release()
{
    rect_.reset();
    if (installed_) {
        qApp->removeEventFilter(this);
        installed_ = false;
    }
}

bool QtPointerConfinement::eventFilter(QObject* watched, QEvent* event)
{
    if (rect_ && event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<QMouseEvent*>(event);
        // The pointer is held only while a button is: a release that went to a
        // dialog opened in the middle of a drag must not leave it trapped.
        if (move->buttons() == Qt::NoButton) {
            release();
            return QObject::eventFilter(watched, event);
        }
        const QPoint pos = move->globalPosition().toPoint();
        const QPoint clamped(std::clamp(pos.x(), rect_->left(), rect_->right()),
                             std::clamp(pos.y(), rect_->top(), rect_->bottom()));
        if (clamped != pos)
            QCursor::setPos(clamped);
    }
    return QObject::eventFilter(watched, event);
}
