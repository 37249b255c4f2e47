// Sizing handles (TStretchHandle): a transparent frame with grab squares around one or more
// sibling controls. Dragging inside moves them, dragging a corner or side square resizes them;
// presses that miss the controls fall through to whatever lies under the frame.
#pragma once

#include <QColor>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QWidget>

class QRubberBand;

namespace qb {

class TStretchHandle : public QWidget {
    Q_OBJECT

  public:
    enum class Zone { Move, TopLeft, BottomRight, TopRight, BottomLeft, Top, Bottom, Left, Right };

    explicit TStretchHandle(QWidget* parent = nullptr);
    ~TStretchHandle() override;

    // Frames the control too. A top-level window is refused (std::logic_error); a control of
    // another parent than those held first lets go of them.
    void Attach(QWidget* control);
    // Lets go of every control and goes back to idle: 24 by 24, hidden and disabled.
    void Detach();
    const QList<QPointer<QWidget>>& Attached() const { return controls_; }
    bool IsAttached(const QWidget* control) const;

    void setSnapToGrid(bool on) { grid_ = on ? 8 : 1; }
    QColor primaryColor() const { return primary_; }
    QColor secondaryColor() const { return secondary_; }

    // The drag a pointer at `at` in a frame of `size` starts. The zones are tested top left,
    // bottom right, top right, bottom left, top, bottom, left, right, and the last one that
    // holds wins.
    static Zone zoneAt(QSize size, QPoint at);
    // The frame a drag in `zone` from `start` to `end` (both clamped already) makes of
    // `frame`: coordinates snapped down to the grid, width and height at least 5.
    static QRect draggedFrame(const QRect& frame, Zone zone, QPoint start, QPoint end, int grid);

  signals:
    // A drag through the handles ended and moved the controls.
    void dragFinished();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QRect frameOf(const QWidget* control) const;  // in the parent's coordinates
    bool onControl(QPoint parentPoint) const;
    void passOn(QMouseEvent* event);
    QPoint clampedToParent(QPoint parentPoint) const;
    void moveBy(int dx, int dy);
    void applyFrame(const QRect& frame);

    QList<QPointer<QWidget>> controls_;
    QColor primary_ = Qt::black;
    QColor secondary_ = QColor(128, 128, 128);
    int grid_ = 1;
    bool dragging_ = false;
    Zone zone_ = Zone::Move;
    QPoint dragStart_;  // parent coordinates
    QRect dragFrame_;
    QRubberBand* band_ = nullptr;
};

}  // namespace qb
