#pragma once
// The trace settings dialog: measuring interval and scan range. Created once by
// the main window and afterwards only hidden, so its boxes keep what the user
// last typed, even after Cancel.
#include "trace/TraceSettings.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class MessageBoxes;
class SystemServices;

class frmTraseSet : public QDialog {
    Q_OBJECT
public:
    // `settings` is the program-wide record; it is written only when OK accepts.
    frmTraseSet(TraceSettings& settings, MessageBoxes& messages, SystemServices& system,
                QWidget* parent = nullptr);

    QLineEdit* txtFreq = nullptr;
    QLineEdit* txtRange = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

signals:
    // The stored settings changed: the scan frame must be resized and re-centred.
    void settingsAccepted();

public slots:
    void cmdOK_Click();
    void cmdCancel_Click();
    // Escape and the window's close button land here: same as Cancel.
    void reject() override;

protected:
    // Key preview: every key typed into a child passes here first.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    bool Form_KeyPress(const QString& text);

    QLabel* label4_ = nullptr;
    TraceSettings& settings_;
    MessageBoxes& messages_;
    SystemServices& system_;
};
