#pragma once
// The About box: product name and version, one button. Each opening builds a
// fresh box, so it always shows the same thing.
#include <QDialog>

class QLabel;
class QPushButton;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* owner = nullptr);

    // Builds a box owned by `owner`, runs it modally centred on the owner and
    // destroys it when it closes.
    static void showModal(QWidget* owner);

    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* Line1 = nullptr;
    QPushButton* cmdOK = nullptr;

public slots:
    void cmdOK_Click();
};
