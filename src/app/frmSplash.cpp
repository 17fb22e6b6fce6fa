#include "app/frmSplash.h"

#include "app/Artwork.h"
#include "platform/Numeric.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace {
constexpr int kClientWidthTwips = 8145;
constexpr int kClientHeightTwips = 2160;
} // namespace

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
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

void frmSplash::showAndPaint()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r = rect();
        r.moveCenter(screen->geometry().center());
        move(r.topLeft());
    }
    show();
    raise();
    repaint();
    QCoreApplication::processEvents();
}
