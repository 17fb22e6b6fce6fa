#pragma once
// What a canvas tool may ask of the window it works in: the session it edits
// and the few window services a tool needs. Tools see nothing else.
class Digitisation;
class QCursor;

class ToolHost {
public:
    virtual ~ToolHost() = default;
    virtual Digitisation& session() = 0;
    // Keeps the pointer on the canvas while a button is down.
    virtual void confinePointer() = 0;
    virtual void setCanvasCursor(const QCursor& cursor) = 0;
    // The status bar's (x, y) readout for a canvas position, in twips.
    virtual void updateReadout(double x, double y) = 0;
    virtual void showLoupe(double x, double y) = 0;
    virtual void hideLoupe() = 0;
    // Adds the point under (x, y) to the sheet, with its mark.
    virtual void pickPoint(double x, double y) = 0;
    // Before a pick: the calibration is set, and fits this picture (asks when
    // it is an earlier picture's); false when the pick is not to be made.
    virtual bool readyToPick() = 0;
    // An edit went into the session's history.
    virtual void editRecorded() = 0;
};
