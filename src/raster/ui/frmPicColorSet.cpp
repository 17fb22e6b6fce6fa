#include "raster/ui/frmPicColorSet.h"

#include "platform/Numeric.h"
#include "platform/Services.h"
#include "raster/ui/PictureBox.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace {

// The preview's inner drawing area. The preview buffer is sized from these,
// not from the boxes, so it always matches the images prepared below.
constexpr int kPreviewWidthTwips = 1875;
constexpr int kPreviewHeightTwips = 1395;

int previewWidth() { return roundHalfEven32(double(kPreviewWidthTwips) / kTwipsPerPixelX); }
int previewHeight() { return roundHalfEven32(double(kPreviewHeightTwips) / kTwipsPerPixelY); }

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixelX(left), twipsToPixelY(top), twipsToPixelX(width), twipsToPixelY(height));
}

QColor colorOf(quint32 bgr)
{
    return QColor(int(bgr & 255u), int((bgr >> 8) & 255u), int((bgr >> 16) & 255u));
}

quint32 colorValueOf(QRgb rgb)
{
    return quint32(qRed(rgb)) | (quint32(qGreen(rgb)) << 8) | (quint32(qBlue(rgb)) << 16);
}

QImage whitePreviewImage()
{
    QImage image(previewWidth(), previewHeight(), QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

} // namespace

frmPicColorSet::frmPicColorSet(BinarizeSettings& settings, ColorDialog& colors, QWidget* parent)
    : QDialog(parent)
    , settings_(settings)
    , colors_(colors)
{
    setObjectName("frmPicColorSet");
    setWindowTitle(QStringLiteral("二値化"));
    setModal(true);
    setFixedSize(twipsToPixelX(5460), twipsToPixelY(3300));

    fraColor = new QGroupBox(QStringLiteral("曲線の色"), this);
    fraColor->setObjectName("fraColor");
    fraColor->setGeometry(twipsRect(360, 120, 2655, 975));

    picSelectedColor = new QFrame(fraColor);
    picSelectedColor->setObjectName("picSelectedColor");
    picSelectedColor->setGeometry(twipsRect(240, 360, 495, 375));
    picSelectedColor->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picSelectedColor->setLineWidth(2);
    picSelectedColor->setAutoFillBackground(true);

    cmdColorSet = new QPushButton(QStringLiteral("色の選択"), fraColor);
    cmdColorSet->setObjectName("cmdColorSet");
    cmdColorSet->setGeometry(twipsRect(960, 360, 1335, 375));

    fraColorErrorRange = new QGroupBox(QStringLiteral("許容範囲"), this);
    fraColorErrorRange->setObjectName("fraColorErrorRange");
    fraColorErrorRange->setGeometry(twipsRect(360, 1320, 2655, 1095));

    sldError = new QSlider(Qt::Horizontal, fraColorErrorRange);
    sldError->setObjectName("sldError");
    sldError->setGeometry(twipsRect(240, 360, 2295, 615));
    sldError->setRange(0, 100);
    sldError->setValue(30);
    sldError->setTickPosition(QSlider::TicksBelow);
    sldError->setTickInterval(10);
    sldError->setSingleStep(1);
    sldError->setPageStep(5);

    Label1 = new QLabel(QStringLiteral("プレビュー"), this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(twipsRect(3240, 240, 1095, 375));

    // The preview box's outer rectangle carries a sunken border; the picture box
    // proper is its inner drawing area.
    const QRect outer = twipsRect(3240, 600, 1935, 1455);
    auto* previewBorder = new QFrame(this);
    previewBorder->setGeometry(outer);
    previewBorder->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    previewBorder->setLineWidth(2);
    const int inset = (outer.width() - previewWidth()) / 2;
    picPreview = new PictureBox(previewBorder);
    picPreview->setObjectName("picPreview");
    picPreview->setGeometry(inset, inset, previewWidth(), previewHeight());
    picPreview->image() = whitePreviewImage();

    // Holds the unprocessed copy the preview is computed from; never seen.
    picPreviewOrig = new PictureBox(this);
    picPreviewOrig->setObjectName("picPreviewOrig");
    picPreviewOrig->setGeometry(outer.x() + inset, outer.y() + inset, previewWidth(), previewHeight());
    picPreviewOrig->hide();
    picPreviewOrig->image() = whitePreviewImage();

    cmdColorOptionSet = new QPushButton(QStringLiteral("設定"), this);
    cmdColorOptionSet->setObjectName("cmdColorOptionSet");
    cmdColorOptionSet->setGeometry(twipsRect(1320, 2640, 1335, 375));

    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setGeometry(twipsRect(3120, 2640, 1335, 375));

    // Enter is ours (see eventFilter); no button may claim it as the default.
    for (QPushButton* b : findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    setSelectedColor(0);

    connect(cmdColorSet, &QPushButton::clicked, this, &frmPicColorSet::cmdColorSet_Click);
    connect(cmdColorOptionSet, &QPushButton::clicked, this, &frmPicColorSet::cmdColorOptionSet_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmPicColorSet::cmdCancel_Click);

    // The dialog sees every key before the control that has the focus.
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
}

void frmPicColorSet::setSelectedColor(quint32 color)
{
    selectedColor_ = color & 0x00ffffffu;
    QPalette p = picSelectedColor->palette();
    p.setColor(QPalette::Window, colorOf(selectedColor_));
    picSelectedColor->setPalette(p);
}

void frmPicColorSet::preparePreview(const QImage& canvasImage)
{
    for (PictureBox* box : {picPreviewOrig, picPreview}) {
        box->image() = whitePreviewImage();
        box->paintPictureFull(canvasImage);
    }
}

void frmPicColorSet::UpdatePreview()
{
    settings_.curveColor = selectedColor_;
    settings_.tolerancePercent = float(sldError->value());

    previewBuffer_.redim(previewWidth(), previewHeight());
    ReadPixels(picPreviewOrig->image(), previewBuffer_);
    BinarizePixels(previewBuffer_, settings_);
    WritePixels(picPreview->image(), previewBuffer_);
    picPreview->refresh();
}

void frmPicColorSet::cmdColorSet_Click()
{
    // The colour dialog always opens on black; cancelling it chooses black.
    const std::optional<QRgb> chosen = colors_.chooseColor(qRgb(0, 0, 0));
    setSelectedColor(chosen ? colorValueOf(*chosen) : 0u);
    UpdatePreview();
}

void frmPicColorSet::cmdColorOptionSet_Click()
{
    settings_.binarizeAccepted = true;
    QDialog::accept();
}

void frmPicColorSet::cmdCancel_Click()
{
    settings_.binarizeAccepted = false;
    QDialog::reject();
}

void frmPicColorSet::reject()
{
    cmdCancel_Click();
}

void frmPicColorSet::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    deactivatedWhileShown_ = false;
    UpdatePreview();
}

void frmPicColorSet::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isVisible())
        return;
    // Coming back to the dialog from another window counts as a fresh showing.
    if (!isActiveWindow()) {
        deactivatedWhileShown_ = true;
    } else if (deactivatedWhileShown_) {
        deactivatedWhileShown_ = false;
        UpdatePreview();
    }
}

bool frmPicColorSet::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.size() == 1 && (text.at(0).unicode() == 13 || text.at(0).unicode() == 108)) {
            cmdColorOptionSet_Click();
            return true;
        }
    } else if (watched == sldError && event->type() == QEvent::MouseButtonRelease) {
        // Only a mouse release on the slider refreshes the preview; the slider
        // has already taken its new value by then. Keyboard moves do not.
        UpdatePreview();
    }
    return QDialog::eventFilter(watched, event);
}
