#include "platform/qt/QtLoadProgress.h"

#include <QApplication>
#include <QProgressDialog>

QtLoadProgress::QtLoadProgress() = default;
QtLoadProgress::~QtLoadProgress() = default;

bool QtLoadProgress::update(const QString& fileName, qint64 elapsedMs, double fraction)
{
    if (!dialog_) {
        if (elapsedMs < kShowAfterMs)
            return true;
        dialog_ = std::make_unique<QProgressDialog>(QStringLiteral("「%1」を読み込んでいます…").arg(fileName),
                                                    QStringLiteral("キャンセル"), 0, 0, QApplication::activeWindow());
        dialog_->setObjectName(QStringLiteral("dlgLoadProgress"));
        dialog_->setWindowTitle(QStringLiteral("開く"));
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->show();
    }
    // Busy until the pixels start to arrive, then the share received.
    if (fraction >= 0 && dialog_->maximum() == 0)
        dialog_->setRange(0, 100);
    if (fraction >= 0)
        dialog_->setValue(int(fraction * 100));
    QApplication::processEvents();
    return !dialog_->wasCanceled();
}

void QtLoadProgress::finished() { dialog_.reset(); }
