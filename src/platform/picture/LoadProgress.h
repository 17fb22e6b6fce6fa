#pragma once
#include <QString>

// What the user sees while a picture loads. The loader reports about every
// 50 ms; an implementation decides when a load has taken long enough to show
// anything (about a second) and tells whether the user gave up.
class LoadProgress {
public:
    virtual ~LoadProgress() = default;
    // fraction: share of the pixels received so far, or -1 while the helper
    // is still decoding. Returns false once the user cancelled.
    virtual bool update(const QString& fileName, qint64 elapsedMs, double fraction) = 0;
    virtual void finished() = 0;
};
