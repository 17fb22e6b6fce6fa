#include "app/frmMainPic.h"

#include "app/Artwork.h"
#include "app/PlaceWidget.h"
#include "app/tools/StrokeTool.h"
#include "platform/UserMessages.h"
#include "raster/ui/PictureBox.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QGuiApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWindowStateChangeEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>


frmMainPic::frmMainPic(const Platform& platform, QWidget* parent)
    : QMainWindow(parent)
    , platform_(platform)
{
    setObjectName("frmMainPic");
    setWindowTitle("Orvanta");
    setWindowIcon(::windowIcon());
    client_ = new QWidget(this);
    client_->setObjectName("client");
    setCentralWidget(client_);
    // The client area is 8865 x 6105 twips when first shown; the minimum outer
    // size of 8535 x 5000 twips is a client of 8415 x 4310.
    client_->setMinimumSize((8415 + kTwipsPerPixelX - 1) / kTwipsPerPixelX, (4310 + kTwipsPerPixelY - 1) / kTwipsPerPixelY);
    client_->resize(8865 / kTwipsPerPixelX, 6105 / kTwipsPerPixelY);
    client_->installEventFilter(this);
    installEventFilter(this);

    tools_[size_t(ToolMode::Pen)] = std::make_unique<StrokeTool>(PictureEdit::Kind::Pen, state_.eraserSizeStep);
    tools_[size_t(ToolMode::HErase)] = std::make_unique<StrokeTool>(PictureEdit::Kind::LineAcross, state_.eraserSizeStep);
    tools_[size_t(ToolMode::VErase)] = std::make_unique<StrokeTool>(PictureEdit::Kind::LineDown, state_.eraserSizeStep);
    tools_[size_t(ToolMode::Erase)] = std::make_unique<StrokeTool>(PictureEdit::Kind::Eraser, state_.eraserSizeStep);
    tools_[size_t(ToolMode::XY)] = std::make_unique<ReferenceTool>();
    tools_[size_t(ToolMode::Sight)] = std::make_unique<SightTool>();

    buildMenus();
    buildControls();
    picGraph_->attach(session_.canvas());
    buildToolbar();
    buildMarkers();
    updateUndoMenu();
    setAcceptDrops(true);
    // Files dropped on the data sheet are pictures to open, not text to insert.
    rtbDataSheet_->viewport()->installEventFilter(this);
    // The arrow keys reach a reference marker under the pointer even from the sheet.
    rtbDataSheet_->installEventFilter(this);
    picGraph_->installEventFilter(this);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &frmMainPic::updatePasteMenu);
    updatePasteMenu();

    // Laid out at the first size now, so that a picture opened before the first
    // show already fills a canvas of the right size. The sheet starts wide
    // enough for the dialog's default of four figures.
    fitDataSheet(4, 1845);
    Form_Resize();
    const QSize menu = menuBar()->sizeHint();
    resize(client_->width(), client_->height() + menu.height());
}

frmMainPic::~frmMainPic()
{
    platform_.pointer.release();
}

void frmMainPic::buildMenus()
{
    QMenu* file = menuBar()->addMenu("ﾌｧｲﾙ(&F)");
    file->setObjectName("mnuFile");
    QAction* open = file->addAction("開く(&O)", this, &frmMainPic::mnuFileOpen_Click);
    open->setObjectName("mnuFileOpen");
    open->setShortcut(QKeySequence("Ctrl+O"));
    mnuFilePaste_ = file->addAction("画像の貼り付け(&P)", this, &frmMainPic::mnuFilePaste_Click);
    mnuFilePaste_->setObjectName("mnuFilePaste");
    // Ctrl+V stays the data sheet's own paste of text.
    mnuFilePaste_->setShortcut(QKeySequence("Ctrl+Shift+V"));
    QAction* save = file->addAction("ﾃﾞｰﾀの保存(&S)", this, &frmMainPic::mnuFileSave_Click);
    save->setObjectName("mnuFileSave");
    save->setShortcut(QKeySequence("Ctrl+S"));
    file->addSeparator();
    file->addAction("作業を開く…", this, &frmMainPic::mnuFileOpenProject_Click)->setObjectName("mnuFileOpenProject");
    QAction* saveProject = file->addAction("作業の保存…", this, &frmMainPic::mnuFileSaveProject_Click);
    saveProject->setObjectName("mnuFileSaveProject");
    saveProject->setShortcut(QKeySequence("Ctrl+Shift+S"));
    file->addSeparator();
    QAction* quit = file->addAction("終了(&Q)", this, &frmMainPic::mnuFileQuit_Click);
    quit->setObjectName("mnuFileQuit");
    quit->setShortcut(QKeySequence("Ctrl+Q"));

    QMenu* edit = menuBar()->addMenu("編集(&E)");
    edit->setObjectName("mnuEdit");
    mnuEditUndo_ = edit->addAction("元に戻す(&Z)", this, &frmMainPic::mnuEditUndo_Click);
    mnuEditUndo_->setObjectName("mnuEditUndo");
    // In the data sheet the text box claims Ctrl+Z for its own undo first.
    mnuEditUndo_->setShortcut(QKeySequence("Ctrl+Z"));
    mnuEditRedo_ = edit->addAction("やり直し(&Y)", this, &frmMainPic::mnuEditRedo_Click);
    mnuEditRedo_->setObjectName("mnuEditRedo");
    mnuEditRedo_->setShortcut(QKeySequence("Ctrl+Y"));
    edit->addSeparator();
    edit->addAction("ﾃﾞｰﾀのｸﾘｱ", this, &frmMainPic::mnuEditClear_Click)->setObjectName("mnuEditClear");

    QMenu* tool = menuBar()->addMenu("ﾂｰﾙ(&T)");
    tool->setObjectName("mnuTool");
    tool->addAction("ﾄﾚｰｽ設定", this, &frmMainPic::mnuToolTraseSetting_Click)->setObjectName("mnuToolTraseSetting");
    tool->addSeparator();
    tool->addAction("ｵｰﾄｲﾚｰｽ", this, &frmMainPic::mnuToolAutoErase_Click)->setObjectName("mnuToolAutoErase");
    tool->addAction("画像の二値化", this, &frmMainPic::mnuToolDiValue_Click)->setObjectName("mnuToolDiValue");

    QMenu* help = menuBar()->addMenu("ﾍﾙﾌﾟ(&H)");
    help->setObjectName("mnuHelp");
    help->addAction("このｿﾌﾄについて", this, &frmMainPic::mnuHelpAbout_Click)->setObjectName("mnuHelpAbout");
}

QString frmMainPic::statusText() const { return statusPanel1_->text(); }

void frmMainPic::setStatus(const QString& text) { statusPanel1_->setText(text); }

QString frmMainPic::statusNotice() const { return statusNotice_->isHidden() ? QString() : statusNotice_->text(); }

void frmMainPic::showCalibrationNotice()
{
    statusNotice_->setText(state_.calibrationFromEarlierPicture ? msg::earlierCalibrationNotice() : QString());
    statusNotice_->setVisible(state_.calibrationFromEarlierPicture);
}

bool frmMainPic::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int which = arrowKeyReference(watched);
        return (which && nudgeReference(which, *static_cast<QKeyEvent*>(event))) || QMainWindow::eventFilter(watched, event);
    }
    if (watched == picGraph_ && event->type() == QEvent::Leave)
        hideLoupe();
    if (rtbDataSheet_ && watched == rtbDataSheet_->viewport())
        return handleDragEvent(event);
    if (watched == client_ && event->type() == QEvent::Resize) {
        Form_Resize();
        return false;
    }
    if (watched == this && event->type() == QEvent::WindowStateChange) {
        // Restoring from minimised lays the window out again at the same size.
        auto* change = static_cast<QWindowStateChangeEvent*>(event);
        if ((change->oldState() & Qt::WindowMinimized) && !isMinimized())
            Form_Resize();
        return false;
    }
    // The filter also sees what the window itself receives, including presses
    // that rulers, status bar and toolbar pass up unhandled: only the four grab
    // controls start a marker drag.
    const std::array<QWidget*, 4> grabbable{lblXY1_, lblXY2_, lblStartPointC_, lblEndLine_};
    const auto found = std::find(grabbable.begin(), grabbable.end(), watched);
    if (found == grabbable.end())
        return QMainWindow::eventFilter(watched, event);
    QWidget* const marker = *found;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        // The second press of a double-click is a press like any other; left
        // to the label it would fall through to the canvas below.
        auto* e = static_cast<QMouseEvent*>(event);
        markerPressed(marker, e->button(), e->position().x() * kTwipsPerPixelX, e->position().y() * kTwipsPerPixelY);
        return true;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        markerMoved(marker, e->buttons(), e->position().x() * kTwipsPerPixelX, e->position().y() * kTwipsPerPixelY);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        markerReleased(marker, e->button());
        return true;
    }
    case QEvent::Enter:
    case QEvent::Leave:
        hoveredReference_ = event->type() == QEvent::Leave ? 0 : marker == lblXY1_ ? 1 : marker == lblXY2_ ? 2 : 0;
        return false;
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}
