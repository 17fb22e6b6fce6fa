#pragma once
// The main window: the canvas with its markers, rulers, data sheet, toolbar,
// menus and status bar. Its code is split by concern over several files:
// construction (frmMainPic.cpp), file commands, tools, canvas mouse, markers,
// picture edits, tracing and layout.
#include "app/MainViewState.h"
#include "app/Platform.h"
#include "app/tools/CanvasTool.h"
#include "app/tools/ToolHost.h"
#include "session/Digitisation.h"

#include <QMainWindow>
#include <QTextCursor>
#include <array>
#include <memory>
#include <vector>

class Loupe;
class PictureBox;
class QAction;
class QActionGroup;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QKeyEvent;
class QStatusBar;
class QTimer;
class QToolBar;
template <typename T>
class QFutureWatcher;
class frmXYSetting;
class frmTraseSet;
class frmPicColorSet;

class frmMainPic : public QMainWindow, private ToolHost {
    Q_OBJECT
public:
    explicit frmMainPic(const Platform& platform, QWidget* parent = nullptr);
    ~frmMainPic() override;

    // Load-time initialisation; first opens `startFile`, or when there is none
    // or it does not load, runs the open dialog. Returns false when no picture
    // was loaded, in which case the program ends.
    bool Form_Load(const QString& startFile = QString());

    // Commands, as the menus and toolbar run them.
    void mnuFileOpen_Click();
    void mnuFilePaste_Click();
    void mnuFileQuit_Click();
    void mnuFileSave_Click();
    void mnuEditClear_Click();
    void mnuEditUndo_Click();
    void mnuEditRedo_Click();
    void mnuToolTraseSetting_Click();
    void mnuToolAutoErase_Click();
    void mnuToolDiValue_Click();
    void mnuHelpAbout_Click();
    void cmdAutoTraseSetting_Click();
    void tbToolbar_ButtonClick(int index);
    // Opens a picture file as the open command does once a file is chosen:
    // after the unsaved-data question, keeping everything when it fails.
    void openPictureFile(const QString& path);

    void AppendDataLine();
    void appendToSheet(QString lines);
    void RestoreCleanPicture();
    void MouseRestrict();
    void DoAutoTrase();

    // Work: a project file holding the session, and opening one.
    void mnuFileSaveProject_Click();
    void mnuFileOpenProject_Click();
    // Opens a project as the open command does once a file is chosen: after
    // the unsaved-data question, changing nothing when it cannot be opened.
    bool openProjectFile(const QString& path);

    // State, for the program's own parts and for tests.
    Digitisation& session() override { return session_; }
    MainViewState& viewState() { return state_; }
    AxisCalibration& calibration() { return session_.calibration; }
    TraceSettings& traceSettings() { return session_.traceSettings; }
    BinarizeSettings& binarizeSettings() { return session_.binarizeSettings; }
    const MarkerGeometry& markers() const { return session_.markers; }
    PictureBox* canvas() const { return picGraph_; }
    QString statusText() const;
    // The status bar's lasting notice (that the calibration is a previous
    // picture's); empty when there is none.
    QString statusNotice() const;
    QString dataSheetText() const;
    bool dataSheetUnsaved() const;
    int traceStartX() const { return traceStartX_; }
    int traceStartY() const { return traceStartY_; }
    int traceEndX() const { return traceEndX_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Construction.
    void buildMenus();
    void buildToolbar();
    void buildControls();
    void buildMarkers();
    QLabel* makeMarkerLabel(QWidget* parent, const char* name, const QString& caption, QColor color);
    QWidget* makeLine(const char* name, QColor color);

    // File commands.
    bool openPicture();
    bool loadPictureFile(const QString& path);
    void showPicture(const Picture& picture, const QString& path, const QString& folder);
    bool saveProject();
    QString chooseSavePath(const QString& title, const QStringList& filters, const QString& suffix,
                           const QString& folder);
    // The sheet's text, into the session.
    void syncSheet();
    // Asks what to do with unsaved lines before they would be lost; true to go on.
    bool settleUnsavedData();
    bool saveDataSheet();
    bool clearDataSheet();
    void setStatus(const QString& text);
    void showCalibrationNotice();

    // Drop and paste.
    bool handleDragEvent(QEvent* event);
    void updatePasteMenu();

    // Tools.
    void applyToolCursor();
    void setMarkersVisible(bool visible);
    void setTraceMarkersVisible(bool visible);
    void setCalibrationMarkersVisible(bool visible);
    void selectToolButton(ToolMode mode);
    void releasePointer();
    CanvasTool& tool() { return *tools_[static_cast<size_t>(state_.toolMode)]; }

    // What the tools ask of the window.
    void confinePointer() override { MouseRestrict(); }
    void setCanvasCursor(const QCursor& cursor) override;
    bool readyToPick() override;
    void editRecorded() override;
    // Before the first trace or pick on a picture opened with the calibration
    // of an earlier one: asks whether to go on with it; true to go on.
    bool calibrationFitsPicture();

    // Canvas mouse.
    void picGraph_MouseDown(Qt::MouseButton button, Qt::MouseButtons buttons, double x, double y);
    void picGraph_MouseMove(Qt::MouseButtons buttons, double x, double y);
    void picGraph_MouseUp(Qt::MouseButton button, Qt::MouseButtons buttons, double x, double y);
    void updateReadout(double x, double y) override;
    void showCursorValues();

    // Picked points: their marks, and undoing the last ones.
    void pickPoint(double x, double y) override;
    // Undoes the last pick when the last action was one; false when it was not.
    bool undoPick();
    void forgetPicks();

    // Markers.
    void markerPressed(QWidget* marker, Qt::MouseButton button, double x, double y);
    void markerMoved(QWidget* marker, Qt::MouseButtons buttons, double x, double y);
    void markerReleased(QWidget* marker, Qt::MouseButton button);
    void dragReference(int which, double x, double y);
    void referenceFollowsLines(int which);
    void centreScanFrame();
    void placeMarkers();

    // Fine placement: the loupe and the arrow keys.
    void showLoupe(double x, double y) override;
    void hideLoupe() override;
    bool nudgeReference(int which, const QKeyEvent& key);
    // Where reference `which` lies on the picture, in the status bar.
    void showReferencePosition(int which);
    int arrowKeyReference(QObject* receiver) const;

    // Picture edits.
    void repaintFromSnapshot();
    void paintRestoredPicture();
    void applyEdit(const PictureEdit& edit, const std::function<void(int x)>& progress = {});
    void updateUndoMenu();

    // Tracing.
    bool traceCanConvert();
    static QString traceSummary(bool started, const TraceOutcome& outcome);
    // Renders a metafile again, finer than the canvas, when its rendering is
    // smaller than `size`.
    void renderVectorAtLeast(QSize size);

    // Layout.
    void Form_Resize();
    void fitDataSheet(int figures, float designWidth);
    void applyDataSheetWidth(int figures);
    // Live resizing: the exact canvas once the size has settled, or at once
    // for a command that reads it; a finer metafile rendering made meanwhile.
    void settleCanvas(bool forReader);
    void adoptVectorRendering();
    QTimer* settleTimer_ = nullptr;
    QFutureWatcher<PictureLoadResult>* vectorRendering_ = nullptr;

    Platform platform_;
    MainViewState state_;
    // The picture, its edits, the references, markers, settings and sheet.
    Digitisation session_;
    // One tool per tool mode, by its index.
    std::array<std::unique_ptr<CanvasTool>, 7> tools_;
    QSize lastVectorRequest_;
    // The clean canvas: what the canvas showed before trace marks were drawn.
    QImage picOriginal_;
    int traceStartX_ = 0;
    int traceStartY_ = 0;
    int traceEndX_ = 0;
    // The points picked since the canvas was last clean, the last one last:
    // the text each added to the sheet (selected by a cursor that follows
    // edits around it) and the canvas pixels under its mark before and after
    // the mark was drawn.
    struct Pick {
        QTextCursor line;
        QString text;
        QRect area;
        QImage before;
        QImage after;
    };
    std::vector<Pick> picks_;
    bool dataUnsaved_ = false;
    float dataSheetWidth_ = 1845;
    bool loaded_ = false;
    // Where the file dialogs start: the folder of the last picture opened
    // from a file, of the picture shown (empty for pasted image data) and of
    // the last sheet saved.
    QString lastPictureFolder_;
    QString pictureFolder_;
    QString lastSaveFolder_;
    QString lastProjectFolder_;
    // The reference marker under the pointer (1, 2; 0 for none): the arrow
    // keys move it whatever has the keyboard.
    int hoveredReference_ = 0;

    // Controls.
    QWidget* client_ = nullptr;
    QToolBar* tbToolbar_ = nullptr;
    std::array<QAction*, 12> toolbarButtons_{};
    QActionGroup* toolGroup_ = nullptr;
    QPushButton* cmdAutoTraseSetting_ = nullptr;
    QLabel* picXYLL_ = nullptr;
    QWidget* picYAxis_ = nullptr;
    QWidget* picXAxis_ = nullptr;
    PictureBox* picGraph_ = nullptr;
    QPlainTextEdit* rtbDataSheet_ = nullptr;
    QStatusBar* statusBar1_ = nullptr;
    QLabel* statusPanel1_ = nullptr;
    QLabel* statusNotice_ = nullptr;
    QProgressBar* progressBar1_ = nullptr;
    QAction* mnuFilePaste_ = nullptr;
    QAction* mnuEditUndo_ = nullptr;
    QAction* mnuEditRedo_ = nullptr;

    QWidget* linX1_ = nullptr;
    QWidget* linY1_ = nullptr;
    QWidget* linX2_ = nullptr;
    QWidget* linY2_ = nullptr;
    QLabel* lblXY1_ = nullptr;
    QLabel* lblXY2_ = nullptr;
    QLabel* lblX1Index_ = nullptr;
    QLabel* lblX2Index_ = nullptr;
    QLabel* lblY1Index_ = nullptr;
    QLabel* lblY2Index_ = nullptr;
    QLabel* lblStartPointC_ = nullptr;
    QLabel* lblStartPointTxt_ = nullptr;
    QWidget* shpRectangle_ = nullptr;
    QLabel* lblEndLine_ = nullptr;
    QLabel* lblEndLineTxt_ = nullptr;
    Loupe* loupe_ = nullptr;

    // Dialogs are created on first use and afterwards only hidden.
    frmXYSetting* xySetting_ = nullptr;
    frmTraseSet* traseSet_ = nullptr;
    frmPicColorSet* picColorSet_ = nullptr;
};
