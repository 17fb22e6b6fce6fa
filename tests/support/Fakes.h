#pragma once
// Platform fakes: scripted answers for dialogs, recorded calls for everything
// else, so the real main window runs in tests without a modal box or a pause.
#include "app/Platform.h"

#include <QHash>
#include <QImage>

#include <deque>
#include <vector>

class FakeFileDialogs : public FileDialogs {
public:
    std::deque<QString> openAnswers;  // "" = cancel; an empty queue cancels too
    std::deque<QString> saveAnswers;
    QString lastTitle;
    QStringList lastFilters;
    QString lastFolder;
    int opens = 0;

    QString openFile(const QString& title, const QStringList& filters, const QString& folder) override
    {
        ++opens;
        lastTitle = title;
        lastFilters = filters;
        lastFolder = folder;
        return pop(openAnswers);
    }
    QString saveFile(const QString& title, const QStringList& filters, const QString&, const QString& folder) override
    {
        lastTitle = title;
        lastFilters = filters;
        lastFolder = folder;
        return pop(saveAnswers);
    }

private:
    static QString pop(std::deque<QString>& q)
    {
        if (q.empty())
            return QString();
        QString s = q.front();
        q.pop_front();
        return s;
    }
};

class FakeColorDialog : public ColorDialog {
public:
    std::optional<QRgb> answer;
    std::optional<QRgb> chooseColor(QRgb) override { return answer; }
};

class FakeMessageBoxes : public MessageBoxes {
public:
    QStringList shown;  // "title|text" of every box, in order
    bool confirmAnswer = true;
    SaveChoice saveAnswer = SaveChoice::Discard;
    void error(const QString& text, const QString& title) override { shown << title + "|" + text; }
    bool confirm(const QString& text, const QString& title) override
    {
        shown << title + "|" + text;
        return confirmAnswer;
    }
    SaveChoice askToSave(const QString& text, const QString& title) override
    {
        shown << title + "|" + text;
        return saveAnswer;
    }
};

class FakeSystemServices : public SystemServices {
public:
    int beeps = 0;
    std::vector<int> sleeps;
    int eventPasses = 0;
    void beep() override { ++beeps; }
    void sleep(int ms) override { sleeps.push_back(ms); }
    void processEventsOnce() override { ++eventPasses; }
};

class FakePointerConfinement : public PointerConfinement {
public:
    std::optional<QRect> rect;
    int confines = 0;
    int releases = 0;
    void confine(const QRect& r) override
    {
        rect = r;
        ++confines;
    }
    void release() override
    {
        rect.reset();
        ++releases;
    }
    std::optional<QRect> current() const override { return rect; }
};

// Serves pictures registered by name; any other path fails like a damaged file.
class FakePictureLoader : public PictureLoader {
public:
    QHash<QString, QImage> pictures;
    QSize lastVectorSize;
    PictureLoadResult load(const QString& path, QSize vectorSize) override
    {
        lastVectorSize = vectorSize;
        PictureLoadResult r;
        if (pictures.contains(path))
            r.picture = Picture::fromImage(pictures.value(path));
        else
            r.error = QStringLiteral("「%1」を開けませんでした。").arg(path);
        return r;
    }
    PictureLoadResult renderVector(const Picture& vector, QSize size) override
    {
        PictureLoadResult r;
        r.picture = Picture::fromRendering(vector.stretched(size), vector.metafile(), vector.naturalSize());
        return r;
    }
};

struct FakePlatform {
    FakeFileDialogs files;
    FakeColorDialog colors;
    FakeMessageBoxes messages;
    FakeSystemServices system;
    FakePointerConfinement pointer;
    FakePictureLoader loader;
    PictureLoader* pictures = &loader;  // tests may point this at the real loader
    Platform platform() { return Platform{files, colors, messages, system, pointer, *pictures}; }
};
