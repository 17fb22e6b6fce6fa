#include "trace/ui/frmTraseSet.h"

#include "platform/Services.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace {

// Positions are laid out in twips; 15 twips make one pixel.
QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

template <typename W>
W* place(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* l = place<QLabel>(parent, name, geometry);
    l->setText(caption);
    l->setTextFormat(Qt::PlainText);
    return l;
}

// Draws a label's caption broken into lines at its blanks only. The scan range
// caption is two words joined by ideographic spaces and must read as two lines;
// the toolkit's own wrapping would break it inside the katakana word.
void paintWrappedAtBlanks(QLabel* label)
{
    QStringList words;
    QString word;
    for (const QChar c : label->text()) {
        if (c.isSpace()) {
            if (!word.isEmpty())
                words << word;
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.isEmpty())
        words << word;

    const QFontMetrics metrics(label->font());
    QStringList lines;
    for (const QString& w : words) {
        if (!lines.isEmpty() && metrics.horizontalAdvance(lines.back() + QChar(0x3000) + w) <= label->width())
            lines.back() += QChar(0x3000) + w;
        else
            lines << w;
    }
    QPainter painter(label);
    painter.setPen(label->palette().color(label->foregroundRole()));
    painter.setFont(label->font());
    painter.drawText(label->rect(), Qt::AlignLeft | Qt::AlignTop, lines.join(QLatin1Char('\n')));
}

} // namespace

frmTraseSet::frmTraseSet(TraceSettings& settings, MessageBoxes& messages, SystemServices& system,
                         QWidget* parent)
    : QDialog(parent), settings_(settings), messages_(messages), system_(system)
{
    setObjectName(QStringLiteral("frmTraseSet"));
    setWindowTitle(QStringLiteral("ﾄﾚｰｽ設定"));
    setModal(true);
    setFixedSize(5070 / 15, 2565 / 15);

    label(this, "Label1", QStringLiteral("測定間隔"), twipsRect(360, 360, 1155, 255));
    txtFreq = place<QLineEdit>(this, "txtFreq", twipsRect(2160, 300, 555, 390));
    label(this, "Label3", QStringLiteral("ドット間隔"), twipsRect(2940, 360, 1335, 255));
    auto* label4 = label(this, "Label4", QStringLiteral("上下の　　　スキャン範囲"),
                         twipsRect(360, 1020, 1695, 495));
    label4->setWordWrap(true);
    label4->installEventFilter(this);
    label4_ = label4;
    txtRange = place<QLineEdit>(this, "txtRange", twipsRect(2160, 1080, 555, 390));
    label(this, "Label6", QStringLiteral("ドット"), twipsRect(2940, 1140, 855, 255));

    cmdOK = place<QPushButton>(this, "cmdOK", twipsRect(2400, 1800, 975, 495));
    cmdOK->setText(QStringLiteral("OK"));
    cmdCancel = place<QPushButton>(this, "cmdCancel", twipsRect(3660, 1800, 975, 495));
    cmdCancel->setText(QStringLiteral("Cancel"));
    // Enter is handled by the key preview below; a default button would press
    // OK a second time.
    cmdOK->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, &frmTraseSet::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmTraseSet::cmdCancel_Click);

    for (QWidget* child : {static_cast<QWidget*>(txtFreq), static_cast<QWidget*>(txtRange),
                           static_cast<QWidget*>(cmdOK), static_cast<QWidget*>(cmdCancel)})
        child->installEventFilter(this);
    installEventFilter(this);

    Form_Load();
}

void frmTraseSet::Form_Load()
{
    txtFreq->setText(QString::number(settings_.freq));
    txtRange->setText(QString::number(settings_.range));
}

void frmTraseSet::cmdOK_Click()
{
    const auto accepted = parseTraceSettings(txtFreq->text(), txtRange->text());
    if (!accepted) {
        system_.beep();
        messages_.error(QStringLiteral("正しい値を入力して下さい"), QStringLiteral("エラー"));
        return;
    }
    settings_ = *accepted;
    emit settingsAccepted();
    QDialog::accept();
}

void frmTraseSet::cmdCancel_Click()
{
    QDialog::reject();
}

void frmTraseSet::reject()
{
    cmdCancel_Click();
}

bool frmTraseSet::Form_KeyPress(const QString& text)
{
    // Enter, and the letter "l", mean OK in the program's setting dialogs.
    if (text != QStringLiteral("\r") && text != QStringLiteral("l"))
        return false;
    cmdOK_Click();
    return true;
}

bool frmTraseSet::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == label4_ && event->type() == QEvent::Paint) {
        paintWrappedAtBlanks(label4_);
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        QString text = key->text();
        // The keypad's Enter carries no text on some platforms.
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            text = QStringLiteral("\r");
        // The key is consumed: the "l" must not end up in a box.
        if (Form_KeyPress(text))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
