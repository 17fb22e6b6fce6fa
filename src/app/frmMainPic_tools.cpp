// Tool modes, the toolbar, dialogs opened from the menus, pointer confinement.
#include "app/frmMainPic.h"

#include "app/Artwork.h"
#include "app/frmAbout.h"
#include "calibration/ui/frmXYSetting.h"
#include "capture/DataSheet.h"
#include "platform/UserMessages.h"
#include "raster/ui/PictureBox.h"
#include "trace/ui/frmTraseSet.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>


void frmMainPic::RestoreCleanPicture()
{
    forgetPicks();
    if (!state_.traceMarksShown)
        return;
    picGraph_->paintPictureFull(picOriginal_);
    state_.traceMarksShown = false;
}

void frmMainPic::applyToolCursor() { picGraph_->setCursor(tool().cursor()); }

void frmMainPic::setCalibrationMarkersVisible(bool visible)
{
    for (QWidget* w : {linX1_, linX2_, linY1_, linY2_, static_cast<QWidget*>(lblXY1_),
                       static_cast<QWidget*>(lblXY2_), static_cast<QWidget*>(lblX1Index_),
                       static_cast<QWidget*>(lblX2Index_), static_cast<QWidget*>(lblY1Index_),
                       static_cast<QWidget*>(lblY2Index_)})
        w->setVisible(visible);
}

void frmMainPic::setTraceMarkersVisible(bool visible)
{
    for (QWidget* w : {static_cast<QWidget*>(lblStartPointTxt_), static_cast<QWidget*>(lblStartPointC_),
                       shpRectangle_, static_cast<QWidget*>(lblEndLine_), static_cast<QWidget*>(lblEndLineTxt_)})
        w->setVisible(visible);
}

void frmMainPic::setMarkersVisible(bool visible)
{
    setCalibrationMarkersVisible(visible);
    setTraceMarkersVisible(visible);
}

void frmMainPic::selectToolButton(ToolMode mode)
{
    toolbarButtons_[static_cast<size_t>(mode)]->setChecked(true);
}

void frmMainPic::tbToolbar_ButtonClick(int index)
{
    hideLoupe();
    if (index >= 1 && index <= 6) {
        RestoreCleanPicture();
        state_.toolMode = static_cast<ToolMode>(index);
        picGraph_->setDrawWidth(tool().drawWidth());
        selectToolButton(state_.toolMode);
        applyToolCursor();
        if (state_.toolMode == ToolMode::XY)
            setMarkersVisible(true);
        if (state_.toolMode == ToolMode::Erase)
            setStatus(msg::eraserHint());
    } else if (index == 8) {
        picGraph_->setDrawWidth(2);
        picGraph_->setCursor(Qt::ArrowCursor);
        if (!session_.calibration.coordinatesSet) {
            platform_.messages.error(msg::setCoordinatesFirst(), msg::errorTitle());
            // The tool is unchanged; its button shows it again.
            selectToolButton(state_.toolMode);
            return;
        }
        if (!calibrationFitsPicture() || !traceCanConvert()) {
            selectToolButton(state_.toolMode);
            return;
        }
        forgetPicks();
        setTraceMarkersVisible(true);
        DoAutoTrase();
        state_.toolMode = ToolMode::XY;
    } else if (index == 10) {
        mnuFileSave_Click();
    } else if (index == 11) {
        if (!clearDataSheet())
            return;  // kept, trace marks and all
        RestoreCleanPicture();
    } else {
        return;
    }

    if (index != 8 && index != 10)
        state_.traceMarksShown = false;
    // A trace leaves its summary in the status bar.
    if (state_.toolMode != ToolMode::Erase && index != 8)
        setStatus(QString());
    if (state_.toolMode != ToolMode::XY)
        setMarkersVisible(false);
}

void frmMainPic::MouseRestrict()
{
    // Confine to where the canvas really is on screen; frame sizes differ
    // between window managers, so nothing here is a fixed offset.
    const QRect onScreen(picGraph_->mapToGlobal(QPoint(0, 0)), picGraph_->size());
    state_.cursorClip = onScreen;
    platform_.pointer.confine(onScreen);
}

void frmMainPic::releasePointer() { platform_.pointer.release(); }

bool frmMainPic::calibrationFitsPicture()
{
    if (!state_.calibrationFromEarlierPicture || state_.earlierCalibrationAccepted)
        return true;
    releasePointer();
    hideLoupe();
    const int answer = platform_.messages.choose(msg::earlierCalibrationQuestion(), msg::confirmTitle(),
                                                 {msg::goOn(), msg::openCalibration()});
    if (answer == 0) {
        state_.earlierCalibrationAccepted = true;
        return true;
    }
    // The markers may have to move onto this picture first: the trace or the
    // pick is not made, whatever the dialog ends with. Escape asks again next time.
    if (answer == 1)
        cmdAutoTraseSetting_Click();
    return false;
}

void frmMainPic::mnuToolTraseSetting_Click()
{
    if (!traseSet_) {
        traseSet_ = new frmTraseSet(session_.traceSettings, platform_.messages, platform_.system, this);
        connect(traseSet_, &frmTraseSet::settingsAccepted, this, [this] {
            session_.markers.shpRectangle.height = static_cast<float>(session_.traceSettings.range * kTwipsPerPixelY);
            session_.markers.shpRectangle.width = static_cast<float>(session_.traceSettings.range * kTwipsPerPixelX);
            centreScanFrame();
            placeMarkers();
        });
    }
    traseSet_->exec();
}

void frmMainPic::cmdAutoTraseSetting_Click()
{
    if (!xySetting_) {
        xySetting_ = new frmXYSetting(session_.calibration, platform_.messages, this);
        connect(xySetting_, &frmXYSetting::confirmed, this, [this] {
            picXYLL_->setPixmap(pointerImage(indicatorImage(session_.calibration)));
            state_.calibrationFromEarlierPicture = false;
            showCalibrationNotice();
            applyDataSheetWidth(session_.calibration.effectiveFigure);
        });
    }
    xySetting_->exec();
}

void frmMainPic::mnuHelpAbout_Click()
{
    frmAbout about(this);
    about.exec();
}
