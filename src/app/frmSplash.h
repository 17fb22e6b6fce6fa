#pragma once
// Start-up window: the title picture alone, no frame, no taskbar entry, shown
// while the program pauses before the main window loads.
#include <QWidget>

class QLabel;

class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    // Centres the window on the primary screen, kept above other windows, and
    // returns once it has been up for `milliseconds`.
    void showFor(int milliseconds);

    QLabel* Picture1 = nullptr;
};
