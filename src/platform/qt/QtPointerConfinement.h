#pragma once
#include "platform/Services.h"

#include <QObject>

// Keeps the pointer inside a screen rectangle by moving it back whenever a mouse
// move would take it out; Qt has no portable pointer grab with a rectangle.
class QtPointerConfinement : public QObject, public PointerConfinement {
public:
    void confine(const QRect& screenPixels) override;
    void release() override;
    std::optional<QRect> current() const override { return rect_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<QRect> rect_;
    bool installed_ = false;
};
