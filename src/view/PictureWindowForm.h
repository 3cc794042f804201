#pragma once
// The shape shared by the three picture windows: a viewport Picture1 holding the picture Picture2,
// the scroll bars HScroll1 and VScroll1, the resize layout, the scroll handling and the zoom. Every way
// of moving the picture goes through the bars, so bars and picture always agree.

#include "runtime/ColourValue.h"
#include "runtime/Form.h"
#include "runtime/PictureBox.h"
#include "runtime/ScrollBar.h"
#include "view/PictureBoxLayout.h"
#include "view/PictureWindow.h"
#include "view/ScrollBarAxis.h"

#include <QPoint>
#include <QPointF>
#include <QSize>

class PictureWindowForm : public Form, private PictureWindow {
    Q_OBJECT
public:
    // What differs between the picture windows at design time.
    struct Design {
        QSize clientArea;
        ColourValue viewportBackground;
        ColourValue pictureBackground;
        QPoint pictureAt;
    };

    PictureWindowForm(Shell& shell, QWidget* parent, const Design& design);

    // Lays the controls out for the client area; a step that fails is skipped, so a client area
    // smaller than the scroll bars (a minimised window) keeps the viewport's previous size.
    void Form_Resize() override;
    void HScroll1_Change();
    void VScroll1_Change();

    QSize sizeHint() const override { return designClientArea_; }

    // The zoom the picture is shown at (display only: the surface keeps its pixels). Fitting follows
    // the viewport's size until another zoom is chosen.
    double zoom() const { return Picture2->zoom(); }
    bool fitsToWindow() const { return fitted_; }
    void zoomToFit();
    void zoomToActualSize();
    // One step about a point of the viewport (inside its border), which keeps showing the same
    // picture pixel where the bars allow.
    void zoomIn(QPointF anchor);
    void zoomOut(QPointF anchor);
    QPointF viewportCentre() const;
    // Moves the view by shown pixels (positive: right, down), by at least one unit of a bar.
    void scrollByPixels(double right, double down);
    // A drag: the bars' values at its start, then the distance dragged since.
    void startPan();
    void panBy(QPoint distance);

signals:
    void zoomChanged();

public:
    PictureBox* const Picture1;
    PictureBox* const Picture2;
    ScrollBar* const HScroll1;
    ScrollBar* const VScroll1;

protected:
    // A result window takes the original window's outer size and its picture box's place and size.
    void takeGeometryOf(const PictureWindowForm& original);

private:
    friend void FitPictureInViewport(PictureWindowForm& window);

    void setZoom(double zoom, bool fitted, QPointF anchor);
    double fittingZoom() const;

    LayoutBox& viewport() override { return viewportLayout_; }
    LayoutBox& picture() override { return pictureLayout_; }
    ScrollAxis& horizontal() override { return horizontalAxis_; }
    ScrollAxis& vertical() override { return verticalAxis_; }

    const QSize designClientArea_;
    PictureBoxLayout viewportLayout_;
    PictureBoxLayout pictureLayout_;
    ScrollBarAxis horizontalAxis_;
    ScrollBarAxis verticalAxis_;
    bool fitted_ = false;
    QPoint panStart_;
};

// What a result window's caption gains when its run was cancelled.
inline const QString UnfinishedMark = QStringLiteral("（未完成）");

// Places the picture in the window's viewport and sets up its scroll bars; a fitted window first
// takes the zoom that fits the picture.
void FitPictureInViewport(PictureWindowForm& window);
