#include "app/frmAbout.h"

#include "platform/Numeric.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace {

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixelX(left), twipsToPixelY(top), twipsToPixelX(width), twipsToPixelY(height));
}

// The first of `wanted` installed here; otherwise a font of the same kind.
QFont japaneseFont(const QStringList& wanted, QFont::StyleHint kind, double points, bool bold)
{
    const QStringList have = QFontDatabase::families();
    QFont font;
    font.setStyleHint(kind);
    for (const QString& family : wanted) {
        if (have.contains(family)) {
            font.setFamily(family);
            break;
        }
    }
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Etched separator: a grey line over a white one, painted as a two-row picture
// so it looks the same whatever the widget style.
QPixmap etchedLine(int width)
{
    QPixmap pm(width, 2);
    QPainter p(&pm);
    p.fillRect(0, 0, width, 1, QColor(128, 128, 128));
    p.fillRect(0, 1, width, 1, QColor(255, 255, 255));
    return pm;
}

} // namespace

frmAbout::frmAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                         | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName("frmAbout");
    setWindowTitle(QStringLiteral("このソフトについて"));
    setFixedSize(twipsToPixelX(5625), twipsToPixelY(2565));
    setSizeGripEnabled(false);

    lblTitle = new QLabel(QStringLiteral("Orvanta"), this);
    lblTitle->setObjectName("lblTitle");
    lblTitle->setGeometry(twipsRect(840, 240, 3975, 540));
    // Centred vertically: the CJK fonts carry tall line boxes, and top-aligned
    // text would lose its baseline row in these short labels.
    lblTitle->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblTitle->setFont(japaneseFont({"Noto Serif CJK JP", "IPAexMincho", "IPAMincho"}, QFont::Serif, 20.25, true));
    lblTitle->setToolTip(QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ"));

    lblVersion = new QLabel(QStringLiteral("ver 1.0"), this);
    lblVersion->setObjectName("lblVersion");
    lblVersion->setGeometry(twipsRect(4260, 720, 1215, 225));
    lblVersion->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblVersion->setFont(japaneseFont({"Noto Sans CJK JP", "IPAexGothic", "IPAGothic"}, QFont::SansSerif, 9.75, false));
    lblVersion->setToolTip(QStringLiteral("ﾊﾞｰｼﾞｮﾝ"));

    // The line runs from x 300 to x 5260 twips, both ends included.
    const int lineLeft = twipsToPixelX(300);
    const int lineWidth = twipsToPixelX(5260) - lineLeft + 1;
    Line1 = new QLabel(this);
    Line1->setObjectName("Line1");
    Line1->setGeometry(lineLeft, twipsToPixelY(1860), lineWidth, 2);
    Line1->setPixmap(etchedLine(lineWidth));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setGeometry(twipsRect(1980, 2040, 1467, 345));
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    cmdOK->setFocus();
    // OK is also the cancel button: QDialog turns Escape into reject(), which
    // closes the box just like OK does.
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::showModal(QWidget* owner)
{
    auto* box = new frmAbout(owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->exec();
}
