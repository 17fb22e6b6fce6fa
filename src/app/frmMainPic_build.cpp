// Building the window: the toolbar, the controls and the markers.
#include "app/frmMainPic.h"

#include "app/Artwork.h"
#include "app/PlaceWidget.h"
#include "raster/ui/PictureBox.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>

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

