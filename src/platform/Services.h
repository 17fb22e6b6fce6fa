#pragma once
// The platform services the program needs, as narrow interfaces. The Qt
// implementations live in platform/qt; tests use fakes so that no test blocks on
// a modal box or waits out a real pause.
#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>
#include <QtGui/qrgb.h>

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Returns the chosen path, or an empty string when the user cancelled.
    // filters are Qt name filters ("ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)"), the first preselected;
    // the dialog starts in startFolder, or in the current folder when it is empty.
    virtual QString openFile(const QString& title, const QStringList& filters, const QString& startFolder) = 0;
    // defaultSuffix is added when the typed name has no extension.
    virtual QString saveFile(const QString& title, const QStringList& filters,
                             const QString& defaultSuffix, const QString& startFolder) = 0;
};

class ColorDialog {
public:
    virtual ~ColorDialog() = default;
    // Shows the standard colour dialog preselecting `initial`; nullopt when cancelled.
    virtual std::optional<QRgb> chooseColor(QRgb initial) = 0;
};

enum class SaveChoice { Save, Discard, Cancel };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Modal box with one OK button.
    virtual void error(const QString& text, const QString& title) = 0;
    // Modal yes/no question; true for yes.
    virtual bool confirm(const QString& text, const QString& title) = 0;
    // Modal question about unsaved work: save it, discard it, or cancel what
    // was about to happen (Escape cancels).
    virtual SaveChoice askToSave(const QString& text, const QString& title) = 0;
    // Modal question whose buttons are `answers`, the first the default;
    // returns the index of the one pressed, or -1 when the box was closed
    // without an answer (Escape).
    virtual int choose(const QString& text, const QString& title, const QStringList& answers) = 0;
};

class SystemServices {
public:
    virtual ~SystemServices() = default;
    virtual void beep() = 0;
    virtual void sleep(int milliseconds) = 0;
    // Lets the events already queued run once (repaints, pending input).
    virtual void processEventsOnce() = 0;
};

class PointerConfinement {
public:
    virtual ~PointerConfinement() = default;
    // Keeps the mouse pointer inside `screenPixels` (global screen coordinates)
    // until release() is called.
    virtual void confine(const QRect& screenPixels) = 0;
    virtual void release() = 0;
    virtual std::optional<QRect> current() const = 0;
};
