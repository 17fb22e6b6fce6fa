#include "calibration/ui/frmXYSetting.h"

#include "calibration/ReferenceInput.h"
#include "platform/Services.h"

#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    return label;
}

QLineEdit* makeText(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(geometry);
    return edit;
}

QRadioButton* makeOption(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* option = new QRadioButton(text, parent);
    option->setObjectName(QLatin1String(name));
    option->setGeometry(geometry);
    return option;
}

// The keypad separator key: Qt reports it as a comma from the keypad.
bool isKeypadSeparator(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Comma && key->modifiers().testFlag(Qt::KeypadModifier);
}

}  // namespace

frmXYSetting::frmXYSetting(AxisCalibration& calibration, MessageBoxes& messages, QWidget* parent)
    : QDialog(parent), calibration_(calibration), messages_(messages)
{
    setObjectName(QStringLiteral("frmXYSetting"));
    setWindowTitle(QStringLiteral("基準座標設定"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    buildControls();

    optXLinear->setChecked(calibration_.xLinear);
    optXLog->setChecked(!calibration_.xLinear);
    optYLinear->setChecked(calibration_.yLinear);
    optYLog->setChecked(!calibration_.yLinear);
    // The scale type is live: a toggle counts at once, even if the dialog is
    // then cancelled.
    connect(optXLinear, &QRadioButton::toggled, this,
            [this](bool checked) { calibration_.xLinear = checked; });
    connect(optYLinear, &QRadioButton::toggled, this,
            [this](bool checked) { calibration_.yLinear = checked; });
    connect(cmdSettei, &QPushButton::clicked, this, &frmXYSetting::cmdSettei_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmXYSetting::cmdCancel_Click);

    // The dialog gets first say on every key, whichever control has the focus.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void frmXYSetting::buildControls()
{
    const int rowHeight = 24;
    const int column1 = 16;   // "X1"/"X2" and the X frame
    const int column2 = 176;  // "Y1"/"Y2" and the Y frame
    const int labelWidth = 28;
    const int textWidth = 112;

    makeLabel(this, "lblX1", QStringLiteral("X1"), {column1, 16, labelWidth, rowHeight});
    txtX1 = makeText(this, "txtX1", QStringLiteral("0"), {column1 + labelWidth, 16, textWidth, rowHeight});
    makeLabel(this, "lblY1", QStringLiteral("Y1"), {column2, 16, labelWidth, rowHeight});
    txtY1 = makeText(this, "txtY1", QStringLiteral("0"), {column2 + labelWidth, 16, textWidth, rowHeight});
    makeLabel(this, "lblX2", QStringLiteral("X2"), {column1, 50, labelWidth, rowHeight});
    txtX2 = makeText(this, "txtX2", QStringLiteral("100"), {column1 + labelWidth, 50, textWidth, rowHeight});
    makeLabel(this, "lblY2", QStringLiteral("Y2"), {column2, 50, labelWidth, rowHeight});
    txtY2 = makeText(this, "txtY2", QStringLiteral("100"), {column2 + labelWidth, 50, textWidth, rowHeight});

    const int frameWidth = labelWidth + textWidth;
    fraX = new QGroupBox(QStringLiteral("Ｘ軸"), this);
    fraX->setObjectName(QStringLiteral("fraX"));
    fraX->setGeometry(column1, 88, frameWidth, 56);
    optXLinear = makeOption(fraX, "optXLinear", QStringLiteral("linear"), {12, 24, 64, 22});
    optXLog = makeOption(fraX, "optXLog", QStringLiteral("log"), {80, 24, 52, 22});

    fraY = new QGroupBox(QStringLiteral("Ｙ軸"), this);
    fraY->setObjectName(QStringLiteral("fraY"));
    fraY->setGeometry(column2, 88, frameWidth, 56);
    optYLinear = makeOption(fraY, "optYLinear", QStringLiteral("linear"), {12, 24, 64, 22});
    optYLog = makeOption(fraY, "optYLog", QStringLiteral("log"), {80, 24, 52, 22});

    makeLabel(this, "lblEffectiveFigure", QStringLiteral("有効桁数"), {column1, 160, 64, rowHeight});
    txtEffectiveFigure = makeText(this, "txtEffectiveFigure", QStringLiteral("4"), {column1 + 68, 160, 40, rowHeight});
    makeLabel(this, "lblEffectiveFigureHint", QStringLiteral("（1-4）"), {column1 + 112, 160, 56, rowHeight});

    cmdSettei = new QPushButton(QStringLiteral("OK"), this);
    cmdSettei->setObjectName(QStringLiteral("cmdSettei"));
    cmdSettei->setGeometry(124, 204, 88, 28);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(228, 204, 88, 28);
    // Enter is handled by the dialog itself; a default button would answer it twice.
    cmdSettei->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);

    setFixedSize(column2 + frameWidth + 16, 248);
}

void frmXYSetting::cmdSettei_Click()
{
    const ReferenceTexts texts{txtX1->text(), txtY1->text(), txtX2->text(), txtY2->text(),
                               txtEffectiveFigure->text()};
    const ReferenceCheck check =
        checkReferenceInput(texts, optXLinear->isChecked(), optYLinear->isChecked());
    if (!check.accepted()) {
        messages_.error(check.message, QStringLiteral("エラー"));
        return;
    }
    applyReferenceValues(*check.values, calibration_);
    emit confirmed();
    accept();
}

void frmXYSetting::cmdCancel_Click() { reject(); }

bool frmXYSetting::handleDialogKey(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        cmdSettei_Click();
        return true;
    case Qt::Key_Escape:
        cmdCancel_Click();
        return true;
    default:
        if (isKeypadSeparator(event)) {
            cmdSettei_Click();
            return true;
        }
        return false;
    }
}

bool frmXYSetting::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress)
        return handleDialogKey(static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

void frmXYSetting::keyPressEvent(QKeyEvent* event)
{
    if (!handleDialogKey(event))
        QDialog::keyPressEvent(event);
}
