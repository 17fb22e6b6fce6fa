#pragma once
// Runs the real main window on fakes: opens a picture, drives the modal
// dialogs from a timer while they run, and reads back what the user would see.
#include "Fakes.h"
#include "app/frmMainPic.h"
#include "raster/ui/PictureBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

// A white picture with a few dark marks, so stretching and undo have something to show.
inline QImage samplePicture(int w = 400, int h = 300, QColor ink = Qt::black)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int x = 0; x < w; ++x)
        img.setPixelColor(x, h / 2, ink);
    for (int y = 0; y < h; ++y)
        img.setPixelColor(w / 3, y, ink);
    return img;
}

struct MainWindowHarness {
    FakePlatform fakes;
    std::unique_ptr<frmMainPic> window;

    bool start(const QImage& picture = samplePicture(), const QString& path = "/pictures/graph.png")
    {
        fakes.loader.pictures.insert(path, picture);
        fakes.files.openAnswers.push_back(path);
        window = std::make_unique<frmMainPic>(fakes.platform());
        if (!window->Form_Load())
            return false;
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }

    // Opens a further picture (after start), answering the unsaved-data question with "discard".
    void open(const QImage& picture)
    {
        fakes.loader.pictures.insert("/pictures/next.png", picture);
        fakes.files.openAnswers.push_back("/pictures/next.png");
        window->mnuFileOpen_Click();
    }

    template <class T = QWidget>
    T* find(const char* name) const
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }

    PictureBox* canvas() const { return window->canvas(); }

    // Runs `whileOpen` once the modal dialog named `dialogName` is up.
    void withDialog(const char* dialogName, std::function<void(QWidget*)> whileOpen,
                    std::function<void()> open)
    {
        QTimer::singleShot(0, [this, dialogName, whileOpen] {
            QWidget* dialog = find<QWidget>(dialogName);
            if (!dialog) {
                // Close whatever modal thing is up so the test cannot hang.
                if (QWidget* modal = QApplication::activeModalWidget())
                    modal->close();
                return;
            }
            whileOpen(dialog);
        });
        open();
    }

    // Types the reference values into the reference coordinate dialog and confirms it.
    void confirmCalibration(const QString& x1, const QString& y1, const QString& x2, const QString& y2,
                            bool xLog = false, bool yLog = false, const QString& figures = "4")
    {
        withDialog("frmXYSetting", [=](QWidget* d) {
            d->findChild<QLineEdit*>("txtX1")->setText(x1);
            d->findChild<QLineEdit*>("txtY1")->setText(y1);
            d->findChild<QLineEdit*>("txtX2")->setText(x2);
            d->findChild<QLineEdit*>("txtY2")->setText(y2);
            d->findChild<QRadioButton*>(xLog ? "optXLog" : "optXLinear")->setChecked(true);
            d->findChild<QRadioButton*>(yLog ? "optYLog" : "optYLinear")->setChecked(true);
            d->findChild<QLineEdit*>("txtEffectiveFigure")->setText(figures);
            QTest::mouseClick(d->findChild<QPushButton*>("cmdSettei"), Qt::LeftButton);
            if (d->isVisible())
                d->findChild<QPushButton*>("cmdCancel")->click();
        }, [this] { window->cmdAutoTraseSetting_Click(); });
    }

    // Drags a marker by (dx, dy) pixels with the left button, grabbed at `grab`
    // (its centre when not given).
    void dragMarker(const char* name, int dx, int dy, std::optional<QPoint> grabAt = {})
    {
        QWidget* marker = find<QWidget>(name);
        const QPoint grab = grabAt.value_or(QPoint(marker->width() / 2, marker->height() / 2));
        QTest::mousePress(marker, Qt::LeftButton, Qt::NoModifier, grab);
        QMouseEvent move(QEvent::MouseMove, QPointF(grab + QPoint(dx, dy)),
                         marker->mapToGlobal(QPointF(grab + QPoint(dx, dy))), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(marker, &move);
        // The marker has moved under the pointer: the grab point is under it again.
        QTest::mouseRelease(marker, Qt::LeftButton, Qt::NoModifier, grab);
    }

    // Resizes so that the client area (below the menu bar) is w x h pixels.
    void resizeClient(int w, int h)
    {
        window->resize(w, h + window->menuBar()->height());
        QApplication::processEvents();
    }

    // Moves the mouse over the canvas to pixel (x, y) with the given buttons held.
    void moveOnCanvas(QPoint pixel, Qt::MouseButtons buttons = Qt::NoButton)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(pixel), canvas()->mapToGlobal(QPointF(pixel)), Qt::NoButton,
                         buttons, Qt::NoModifier);
        QApplication::sendEvent(canvas(), &move);
    }

    void clickOnCanvas(QPoint pixel, Qt::MouseButton button = Qt::LeftButton)
    {
        moveOnCanvas(pixel);
        QTest::mouseClick(canvas(), button, Qt::NoModifier, pixel);
    }

    QString status() const { return window->statusText(); }
};

inline int countPixels(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xffffffu) == (colour & 0xffffffu);
    return n;
}
