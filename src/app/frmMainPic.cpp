#include "app/frmMainPic.h"

#include "app/Artwork.h"
#include "platform/qt/PictureBox.h"

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

namespace {
constexpr QColor kDarkBlue(0, 0, 192);
constexpr QColor kGreen(0, 128, 0);
constexpr QColor kOrange(255, 128, 0);
constexpr QColor kRedBrown(192, 64, 0);

QWidget* makeStrip(QWidget* parent, const char* name, const TwipsRect& r)
{
    auto* w = new QWidget(parent);
    w->setObjectName(name);
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, QColor(224, 224, 224));
    w->setPalette(pal);
    placeWidget(w, r);
    return w;
}
} // namespace

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

    buildMenus();
    buildControls();
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

void frmMainPic::buildToolbar()
{
    tbToolbar_ = new QToolBar(client_);
    tbToolbar_->setObjectName("tbToolbar");
    tbToolbar_->setIconSize(QSize(24, 24));
    tbToolbar_->setMovable(false);
    tbToolbar_->setGeometry(0, 0, client_->width(), 540 / kTwipsPerPixelY);
    toolGroup_ = new QActionGroup(this);
    toolGroup_->setExclusive(true);

    struct Button { int index; const char* key; const char* tip; };
    const Button buttons[] = {
        {1, "Pen", "ペン"}, {2, "HErase", "横線消し"}, {3, "VErase", "縦線消し"},
        {4, "Erase", "消しゴム"}, {5, "XY", "座標の設定"}, {6, "Sight", "照準"},
        {7, nullptr, nullptr}, {8, "AutoTrase", "ﾄﾚｰｽｽﾀｰﾄ"}, {9, nullptr, nullptr},
        {10, "Save", "ﾃﾞｰﾀの保存"}, {11, "New", "ﾃﾞｰﾀのｸﾘｱ"},
    };
    for (const Button& b : buttons) {
        if (!b.key) {
            toolbarButtons_[static_cast<size_t>(b.index)] = tbToolbar_->addSeparator();
            continue;
        }
        QAction* a = tbToolbar_->addAction(toolbarIcon(b.index), QString::fromUtf8(b.tip));
        a->setObjectName(QStringLiteral("tbToolbar_%1").arg(b.key));
        a->setToolTip(QString::fromUtf8(b.tip));
        a->setData(b.index);
        if (b.index <= 6) {
            a->setCheckable(true);
            toolGroup_->addAction(a);
        }
        const int index = b.index;
        connect(a, &QAction::triggered, this, [this, index] { tbToolbar_ButtonClick(index); });
        toolbarButtons_[static_cast<size_t>(b.index)] = a;
    }
    toolbarButtons_[5]->setChecked(true);

    cmdAutoTraseSetting_ = new QPushButton("座標設定", tbToolbar_);
    cmdAutoTraseSetting_->setObjectName("cmdAutoTraseSetting");
    placeWidget(cmdAutoTraseSetting_, {6810, 30, 1215, 450});
    connect(cmdAutoTraseSetting_, &QPushButton::clicked, this, &frmMainPic::cmdAutoTraseSetting_Click);

    picXYLL_ = new QLabel(tbToolbar_);
    picXYLL_->setObjectName("picXYLL");
    picXYLL_->setScaledContents(true);
    placeWidget(picXYLL_, {8100, 60, 450, 450});
}

void frmMainPic::buildControls()
{
    picYAxis_ = makeStrip(client_, "picYAxis", {0, 540, 315, 5025});
    picXAxis_ = makeStrip(client_, "picXAxis", {330, 5580, 6705, 255});

    picGraph_ = new PictureBox(client_);
    picGraph_->setObjectName("picGraph");
    placeWidget(picGraph_, {330, 540, 6705, 5025});
    connect(picGraph_, &PictureBox::mousePressed, this, &frmMainPic::picGraph_MouseDown);
    connect(picGraph_, &PictureBox::mouseMoved, this, &frmMainPic::picGraph_MouseMove);
    connect(picGraph_, &PictureBox::mouseReleased, this, &frmMainPic::picGraph_MouseUp);

    rtbDataSheet_ = new QPlainTextEdit(client_);
    rtbDataSheet_->setObjectName("rtbDataSheet");
    rtbDataSheet_->setLineWrapMode(QPlainTextEdit::NoWrap);
    placeWidget(rtbDataSheet_, {7035, 520, 1845, 5325});
    connect(rtbDataSheet_, &QPlainTextEdit::textChanged, this, [this] { dataUnsaved_ = true; });

    statusBar1_ = new QStatusBar(client_);
    statusBar1_->setObjectName("StatusBar1");
    statusBar1_->setSizeGripEnabled(false);
    statusPanel1_ = new QLabel(statusBar1_);
    statusPanel1_->setObjectName("StatusBar1Panel1");
    statusBar1_->addPermanentWidget(statusPanel1_, 1);
    // Left of the changing texts, so that it stays in sight while they change.
    statusNotice_ = new QLabel(statusBar1_);
    statusNotice_->setObjectName("StatusBar1Notice");
    QPalette noticePalette = statusNotice_->palette();
    noticePalette.setColor(QPalette::WindowText, QColor(192, 0, 0));
    statusNotice_->setPalette(noticePalette);
    statusBar1_->insertPermanentWidget(0, statusNotice_);
    statusNotice_->hide();
    placeWidget(statusBar1_, {0, 5835, 8865, 270});

    progressBar1_ = new QProgressBar(client_);
    progressBar1_->setObjectName("ProgressBar1");
    progressBar1_->setTextVisible(false);
    progressBar1_->setRange(0, 100);
    progressBar1_->setValue(0);
    placeWidget(progressBar1_, {5060, 5885, 1950, 190});
    progressBar1_->raise();
}

QLabel* frmMainPic::makeMarkerLabel(QWidget* parent, const char* name, const QString& caption, QColor color)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, color);
    l->setPalette(pal);
    l->setAttribute(Qt::WA_TranslucentBackground);
    l->setMouseTracking(true);
    return l;
}

QWidget* frmMainPic::makeLine(const char* name, QColor color)
{
    auto* w = new QWidget(picGraph_);
    w->setObjectName(name);
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, color);
    w->setPalette(pal);
    // Lines are drawn over the picture but never take the mouse from it.
    w->setAttribute(Qt::WA_TransparentForMouseEvents);
    return w;
}

void frmMainPic::buildMarkers()
{
    linX1_ = makeLine("linX1", kDarkBlue);
    linY1_ = makeLine("linY1", kDarkBlue);
    linX2_ = makeLine("linX2", kGreen);
    linY2_ = makeLine("linY2", kGreen);

    lblXY1_ = makeMarkerLabel(picGraph_, "lblXY1", QString(), kDarkBlue);
    lblXY1_->setToolTip("X1,Y1");
    lblXY2_ = makeMarkerLabel(picGraph_, "lblXY2", QString(), kGreen);
    lblXY2_->setToolTip("X2,Y2");

    QFont rulerFont("Arial", 9);
    rulerFont.setPointSizeF(9.75);
    rulerFont.setBold(true);
    lblX1Index_ = makeMarkerLabel(picXAxis_, "lblX1Index", "X1", kDarkBlue);
    lblX2Index_ = makeMarkerLabel(picXAxis_, "lblX2Index", "X2", kGreen);
    lblY1Index_ = makeMarkerLabel(picYAxis_, "lblY1Index", "Y1", kDarkBlue);
    lblY2Index_ = makeMarkerLabel(picYAxis_, "lblY2Index", "Y2", kGreen);
    for (QLabel* l : {lblX1Index_, lblX2Index_, lblY1Index_, lblY2Index_}) {
        l->setFont(rulerFont);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    shpRectangle_ = new QWidget(picGraph_);
    shpRectangle_->setObjectName("shpRectangle");
    shpRectangle_->setAttribute(Qt::WA_TransparentForMouseEvents);
    shpRectangle_->setStyleSheet("#shpRectangle { border: 1px solid rgb(255, 0, 0); background: transparent; }");
    shpRectangle_->setAttribute(Qt::WA_StyledBackground);

    lblStartPointC_ = makeMarkerLabel(picGraph_, "lblStartPointC", "┼", kOrange);
    lblStartPointC_->setAlignment(Qt::AlignCenter);
    lblStartPointTxt_ = makeMarkerLabel(picGraph_, "lblStartPointTxt", "Start Point", kRedBrown);
    lblStartPointTxt_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblStartPointTxt_->setWordWrap(true);

    lblEndLine_ = new QLabel(picGraph_);
    lblEndLine_->setObjectName("lblEndLine");
    lblEndLine_->setStyleSheet("#lblEndLine { background: rgb(255, 128, 0); }");
    lblEndLineTxt_ = makeMarkerLabel(picGraph_, "lblEndLineTxt", "End Line", kRedBrown);
    lblEndLineTxt_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblEndLineTxt_->setWordWrap(true);

    for (QLabel* l : {lblStartPointTxt_, lblEndLineTxt_})
        l->setAttribute(Qt::WA_TransparentForMouseEvents);

    lblXY1_->setCursor(Qt::SizeAllCursor);
    lblXY2_->setCursor(Qt::SizeAllCursor);
    lblStartPointC_->setCursor(Qt::SizeAllCursor);
    lblEndLine_->setCursor(Qt::SizeHorCursor);
    for (QLabel* l : {lblXY1_, lblXY2_, lblStartPointC_, lblEndLine_})
        l->installEventFilter(this);
    lblXY1_->setFocusPolicy(Qt::ClickFocus);
    lblXY2_->setFocusPolicy(Qt::ClickFocus);

    placeMarkers();
}

QString frmMainPic::statusText() const { return statusPanel1_->text(); }

void frmMainPic::setStatus(const QString& text) { statusPanel1_->setText(text); }

QString frmMainPic::statusNotice() const { return statusNotice_->isHidden() ? QString() : statusNotice_->text(); }

void frmMainPic::showCalibrationNotice()
{
    statusNotice_->setText(state_.calibrationFromEarlierPicture ? "前の画像の座標設定のままです" : "");
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
