#pragma once
// The reference coordinate dialog: the axis values at the two reference points,
// linear or log per axis, and the significant figures. Created once and only
// hidden between uses, so its boxes keep what the user last typed.
#include "calibration/AxisCalibration.h"

#include <QDialog>

class MessageBoxes;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class frmXYSetting : public QDialog {
    Q_OBJECT
public:
    frmXYSetting(AxisCalibration& calibration, MessageBoxes& messages, QWidget* parent = nullptr);

signals:
    // The calibration has new values and is set; the owner updates the
    // indicator, the data sheet width and the picture.
    void confirmed();

public slots:
    void cmdSettei_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    // Enter, keypad Enter, the keypad separator and Escape, wherever the focus is.
    bool handleDialogKey(QKeyEvent* event);

    AxisCalibration& calibration_;
    MessageBoxes& messages_;

    QLineEdit* txtX1 = nullptr;
    QLineEdit* txtY1 = nullptr;
    QLineEdit* txtX2 = nullptr;
    QLineEdit* txtY2 = nullptr;
    QGroupBox* fraX = nullptr;
    QGroupBox* fraY = nullptr;
    QRadioButton* optXLinear = nullptr;
    QRadioButton* optXLog = nullptr;
    QRadioButton* optYLinear = nullptr;
    QRadioButton* optYLog = nullptr;
    QLineEdit* txtEffectiveFigure = nullptr;
    QPushButton* cmdSettei = nullptr;
    QPushButton* cmdCancel = nullptr;
};
