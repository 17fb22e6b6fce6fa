#pragma once
// The binarisation dialog: curve colour, tolerance and a small binarised preview
// of the whole picture. Created once and afterwards only hidden, so the swatch
// and the slider keep what the user last set.
#include "raster/Binarize.h"
#include "raster/PixelBuffer.h"

#include <QDialog>
#include <QImage>

class ColorDialog;
class PictureBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;

class frmPicColorSet : public QDialog {
    Q_OBJECT
public:
    frmPicColorSet(BinarizeSettings& settings, ColorDialog& colors, QWidget* parent = nullptr);

    // Paints the canvas picture stretched into both preview boxes; called before
    // the dialog is shown.
    void preparePreview(const QImage& canvasImage);

    // Takes the curve colour and tolerance from the controls into the settings
    // and binarises the preview with them. Only this routine changes those two
    // settings, so the command always uses what the preview last showed.
    void UpdatePreview();

    // The swatch colour, 0x00BBGGRR.
    quint32 selectedColor() const { return selectedColor_; }

public slots:
    void cmdColorSet_Click();
    void cmdColorOptionSet_Click();
    void cmdCancel_Click();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Escape and the window's close button end here: both cancel.
    void reject() override;

private:
    void setSelectedColor(quint32 color);

    BinarizeSettings& settings_;
    ColorDialog& colors_;
    quint32 selectedColor_ = 0;
    bool deactivatedWhileShown_ = false;
    PixelBuffer previewBuffer_;

    QGroupBox* fraColor = nullptr;
    QFrame* picSelectedColor = nullptr;
    QPushButton* cmdColorSet = nullptr;
    QGroupBox* fraColorErrorRange = nullptr;
    QSlider* sldError = nullptr;
    QLabel* Label1 = nullptr;
    PictureBox* picPreview = nullptr;
    PictureBox* picPreviewOrig = nullptr;
    QPushButton* cmdColorOptionSet = nullptr;
    QPushButton* cmdCancel = nullptr;
};
