#pragma once
#include "platform/picture/LoadProgress.h"
#include "platform/picture/PictureLoader.h"

#include <QString>
#include <QStringList>

// Every picture is decoded by the orvanta-decode helper process (memory and
// CPU capped) and arrives here as plain pixels, read straight into the one
// picture the program keeps. The format is decided by content, never by the
// file name. Every failure, a cancel and the time limit come back as a message
// naming the file.
class QtPictureLoader : public PictureLoader {
public:
    static constexpr int kDefaultTimeLimitMs = 30'000;

    // An empty helper path means the installed or built helper (HelperPath.h).
    explicit QtPictureLoader(QString helperPath = QString(), LoadProgress* progress = nullptr);

    PictureLoadResult load(const QString& path, QSize vectorSize) override;
    PictureLoadResult renderVector(const Picture& vector, QSize size) override;
    PictureLoadResult renderVectorQuietly(const Picture& vector, QSize size) override;

    void setTimeLimit(int milliseconds) { timeLimitMs_ = milliseconds; }
    const QString& helperPath() const { return helperPath_; }

private:
    // Runs the helper on `argument` (a path, or "-" for `input` on its
    // standard input); on failure the reason alone, without the file name.
    PictureLoadResult decode(const QString& fileName, QStringList arguments, const QByteArray& input, QByteArray metafile);

    QString helperPath_;
    LoadProgress* progress_;
    int timeLimitMs_ = kDefaultTimeLimitMs;
};
