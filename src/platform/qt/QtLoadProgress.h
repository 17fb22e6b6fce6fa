#pragma once
#include "platform/picture/LoadProgress.h"

#include <memory>

class QProgressDialog;

// A modal progress box with a Cancel button, shown once a load has taken
// kShowAfterMs; quicker loads show nothing at all.
class QtLoadProgress : public LoadProgress {
public:
    static constexpr qint64 kShowAfterMs = 1000;

    QtLoadProgress();
    ~QtLoadProgress() override;

    bool update(const QString& fileName, qint64 elapsedMs, double fraction) override;
    void finished() override;

    // The box while it is shown, for tests.
    QProgressDialog* dialog() const { return dialog_.get(); }

private:
    std::unique_ptr<QProgressDialog> dialog_;
};
