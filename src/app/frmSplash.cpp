#include "app/frmSplash.h"

#include "app/Artwork.h"
#include "platform/Numeric.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace {
constexpr int kClientWidthTwips = 8145;
constexpr int kClientHeightTwips = 2160;
} // namespace

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("frmSplash");
    setFixedSize(twipsToPixelX(kClientWidthTwips), twipsToPixelY(kClientHeightTwips));

    Picture1 = new QLabel(this);
    Picture1->setObjectName("Picture1");
    Picture1->setGeometry(rect());
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1->setPixmap(splashPicture());
    // The picture is a little wider and lower than the window; the strip it
    // leaves at the bottom takes the picture's own bottom colour.
    QPalette pal = Picture1->palette();
    pal.setColor(QPalette::Window, splashBackground());
    Picture1->setPalette(pal);
    Picture1->setAutoFillBackground(true);
}

void frmSplash::showFor(int milliseconds)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r = rect();
        r.moveCenter(screen->geometry().center());
        move(r.topLeft());
    }
    show();
    raise();
    // A window manager maps the window some time after show() and asks for
    // its contents only then: a pause that blocked the event loop left the
    // splash unpainted, and a compositing one never showed it at all. The
    // pause runs the loop instead, without user input, so nothing can be
    // clicked while it lasts.
    QEventLoop pause;
    QTimer::singleShot(milliseconds, &pause, &QEventLoop::quit);
    pause.exec(QEventLoop::ExcludeUserInputEvents);
}
