#pragma once
// Platform fakes: scripted answers for dialogs, recorded calls for everything
// else, so the real main window runs in tests without a modal box or a pause.
#include "app/Platform.h"
#include "raster/Stretch.h"

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
        return answer(openAnswers, title, filters, folder);
    }
    QString saveFile(const QString& title, const QStringList& filters, const QString&, const QString& folder) override
    {
        return answer(saveAnswers, title, filters, folder);
    }

private:
    QString answer(std::deque<QString>& q, const QString& title, const QStringList& filters, const QString& folder)
    {
        lastTitle = title;
        lastFilters = filters;
        lastFolder = folder;
        const QString s = q.empty() ? QString() : q.front();
        if (!q.empty())
            q.pop_front();
        return s;
    }
};

class FakeColorDialog : public ColorDialog {
public:
    std::optional<QRgb> answer;
    std::vector<QRgb> initials;  // the colour each opening started from
    std::optional<QRgb> chooseColor(QRgb initial) override { return initials.push_back(initial), answer; }
};

class FakeMessageBoxes : public MessageBoxes {
public:
    QStringList shown;  // "title|text" of every box, in order
    bool confirmAnswer = true;
    SaveChoice saveAnswer = SaveChoice::Discard;
    int chooseAnswer = 0;
    void error(const QString& text, const QString& title) override { shown << title + "|" + text; }
    bool confirm(const QString& text, const QString& title) override { return error(text, title), confirmAnswer; }
    SaveChoice askToSave(const QString& text, const QString& title) override { return error(text, title), saveAnswer; }
    int choose(const QString& text, const QString& title, const QStringList&) override
    {
        return error(text, title), chooseAnswer;
    }
};

class FakeSystemServices : public SystemServices {
public:
    int beeps = 0;
    std::vector<int> sleeps;
    int eventPasses = 0;
    QStringList* log = nullptr;  // when set, beeps are logged as "beep" among other events
    void beep() override { ++beeps; if (log) *log << "beep"; }
    void sleep(int ms) override { sleeps.push_back(ms); }
    void processEventsOnce() override { ++eventPasses; }
};

class FakePointerConfinement : public PointerConfinement {
public:
    std::optional<QRect> rect;
    int confines = 0;
    int releases = 0;
    void confine(const QRect& r) override { rect = r, ++confines; }
    void release() override { rect.reset(), ++releases; }
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
        r.picture = Picture::fromRendering(stretchImage(vector.image(), size), vector.metafile(), vector.naturalSize());
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
