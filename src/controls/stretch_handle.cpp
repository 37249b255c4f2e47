// The sizing handles.
#include "controls/stretch_handle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <algorithm>
#include <stdexcept>

namespace qb {

namespace {

constexpr int kIdleSize = 24;
constexpr int kMargin = 2;    // the frame stands this far outside each control
constexpr int kSquare = 5;    // grab squares, and the reach of a corner or side
constexpr int kMiddle = 3;    // how near a side's middle a side grab must be
constexpr int kSmallest = 5;  // the least width and height a drag leaves

int snapDown(int v, int grid) {
    if (grid <= 1) return v;
    const int r = v % grid;
    return r < 0 ? v - r - grid : v - r;
}

}  // namespace

TStretchHandle::TStretchHandle(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    Detach();
}

TStretchHandle::~TStretchHandle() = default;

bool TStretchHandle::IsAttached(const QWidget* control) const {
    return std::any_of(controls_.begin(), controls_.end(),
                       [control](const QPointer<QWidget>& c) { return c == control; });
}

QRect TStretchHandle::frameOf(const QWidget* control) const {
    return control->geometry().adjusted(-kMargin, -kMargin, kMargin, kMargin);
}

void TStretchHandle::Attach(QWidget* control) {
    if (!control) return;
    if (control->isWindow()) throw std::logic_error("Handles can not be attached to a Form!");
    if (IsAttached(control)) return;
    if (!controls_.isEmpty() && controls_.front() &&
        controls_.front()->parentWidget() != control->parentWidget())
        Detach();
    QRect frame = frameOf(control);
    if (controls_.isEmpty()) {
        if (parentWidget() != control->parentWidget()) setParent(control->parentWidget());
    } else {
        frame = frame.united(geometry());
    }
    controls_.append(control);
    setGeometry(frame);
    setEnabled(true);
    show();
    raise();
    // No mouse grab: a press inside the frame reaches the handle anyway (and a drag keeps
    // it), while presses elsewhere in the window reach their own controls.
    setFocus();
    update();
}

void TStretchHandle::Detach() {
    controls_.clear();
    dragging_ = false;
    if (band_) band_->hide();
    hide();
    setEnabled(false);
    resize(kIdleSize, kIdleSize);
    unsetCursor();
}

void TStretchHandle::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool one = controls_.size() == 1;
    const QColor colour = one ? primary_ : secondary_;
    for (const QPointer<QWidget>& c : controls_) {
        if (!c) continue;
        const QRect r = frameOf(c).translated(-pos());
        QList<QPoint> at{r.topLeft(), QPoint(r.right() - kSquare + 1, r.top()),
                         QPoint(r.left(), r.bottom() - kSquare + 1),
                         QPoint(r.right() - kSquare + 1, r.bottom() - kSquare + 1)};
        if (one) {
            const int mx = r.left() + (r.width() - kSquare) / 2;
            const int my = r.top() + (r.height() - kSquare) / 2;
            at << QPoint(mx, r.top()) << QPoint(mx, r.bottom() - kSquare + 1)
               << QPoint(r.left(), my) << QPoint(r.right() - kSquare + 1, my);
        }
        for (const QPoint& corner : at)
            p.fillRect(QRect(corner, QSize(kSquare, kSquare)), colour);
    }
}

TStretchHandle::Zone TStretchHandle::zoneAt(QSize size, QPoint at) {
    const int w = size.width(), h = size.height();
    const int x = at.x(), y = at.y();
    const bool nearLeft = x<kSquare, nearRight = x> w - 1 - kSquare;
    const bool nearTop = y<kSquare, nearBottom = y> h - 1 - kSquare;
    const bool midX = std::abs(x - w / 2) < kMiddle, midY = std::abs(y - h / 2) < kMiddle;
    Zone zone = Zone::Move;
    const std::pair<bool, Zone> tests[] = {
        {nearLeft && nearTop, Zone::TopLeft},   {nearRight && nearBottom, Zone::BottomRight},
        {nearRight && nearTop, Zone::TopRight}, {nearLeft && nearBottom, Zone::BottomLeft},
        {nearTop && midX, Zone::Top},           {nearBottom && midX, Zone::Bottom},
        {nearLeft && midY, Zone::Left},         {nearRight && midY, Zone::Right}};
    for (const auto& [holds, z] : tests)
        if (holds) zone = z;
    return zone;
}

QRect TStretchHandle::draggedFrame(const QRect& f, Zone zone, QPoint start, QPoint end, int grid) {
    const int dx = end.x() - start.x(), dy = end.y() - start.y();
    int left = f.left(), top = f.top(), right = f.left() + f.width(), bottom = f.top() + f.height();
    switch (zone) {
        case Zone::Move:
            left += dx, right += dx, top += dy, bottom += dy;
            break;
        case Zone::TopLeft:
            left += dx, top += dy;
            break;
        case Zone::BottomRight:
            right += dx, bottom += dy;
            break;
        case Zone::TopRight:
            right += dx, top += dy;
            break;
        case Zone::BottomLeft:
            left += dx, bottom += dy;
            break;
        case Zone::Top:
            top += dy;
            break;
        case Zone::Bottom:
            bottom += dy;
            break;
        case Zone::Left:
            left += dx;
            break;
        case Zone::Right:
            right += dx;
            break;
    }
    left = snapDown(left, grid);
    top = snapDown(top, grid);
    const int width = std::max(kSmallest, snapDown(right - left, grid));
    const int height = std::max(kSmallest, snapDown(bottom - top, grid));
    return QRect(left, top, width, height);
}

bool TStretchHandle::onControl(QPoint parentPoint) const {
    return std::any_of(controls_.begin(), controls_.end(), [&](const QPointer<QWidget>& c) {
        return c && frameOf(c).contains(parentPoint);
    });
}

void TStretchHandle::passOn(QMouseEvent* event) {
    QWidget* parent = parentWidget();
    if (!parent) return;
    const QPoint at = mapToParent(event->position().toPoint());
    // The topmost visible child under the point other than the handle, else the parent.
    QWidget* target = parent;
    const QObjectList& children = parent->children();
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        auto* w = qobject_cast<QWidget*>(*it);
        if (w && w != this && w->isVisible() && !w->isWindow() && w->geometry().contains(at)) {
            target = w;
            if (QWidget* deeper = w->childAt(w->mapFromParent(at))) target = deeper;
            break;
        }
    }
    const QPointF local = target->mapFrom(parent, at);
    QMouseEvent copy(event->type(), local, target->mapToGlobal(local), event->button(),
                     event->buttons(), event->modifiers());
    QCoreApplication::sendEvent(target, &copy);
}

QPoint TStretchHandle::clampedToParent(QPoint p) const {
    const QWidget* parent = parentWidget();
    if (!parent) return p;
    const QRect area = parent->rect();
    return {std::clamp(p.x(), area.left(), area.right()),
            std::clamp(p.y(), area.top(), area.bottom())};
}

void TStretchHandle::mousePressEvent(QMouseEvent* event) {
    const QPoint at = mapToParent(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !onControl(at)) {
        passOn(event);
        return;
    }
    dragging_ = true;
    zone_ = controls_.size() == 1 ? zoneAt(size(), event->position().toPoint()) : Zone::Move;
    dragStart_ = clampedToParent(at);
    dragFrame_ = geometry();
    if (!band_) band_ = new QRubberBand(QRubberBand::Rectangle, parentWidget());
    band_->setGeometry(dragFrame_);
    band_->show();
}

void TStretchHandle::mouseDoubleClickEvent(QMouseEvent* event) {
    passOn(event);
}

void TStretchHandle::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = clampedToParent(mapToParent(event->position().toPoint()));
    if (!dragging_) {
        if (controls_.size() != 1) return;
        switch (zoneAt(size(), event->position().toPoint())) {
            case Zone::TopLeft:
            case Zone::BottomRight:
                setCursor(Qt::SizeFDiagCursor);
                break;
            case Zone::TopRight:
            case Zone::BottomLeft:
                setCursor(Qt::SizeBDiagCursor);
                break;
            case Zone::Top:
            case Zone::Bottom:
                setCursor(Qt::SizeVerCursor);
                break;
            case Zone::Left:
            case Zone::Right:
                setCursor(Qt::SizeHorCursor);
                break;
            case Zone::Move:
                setCursor(Qt::SizeAllCursor);
                break;
        }
        return;
    }
    if (band_) band_->setGeometry(draggedFrame(dragFrame_, zone_, dragStart_, at, grid_));
}

void TStretchHandle::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_) {
        passOn(event);
        return;
    }
    dragging_ = false;
    if (band_) band_->hide();
    const QPoint at = clampedToParent(mapToParent(event->position().toPoint()));
    if (at != dragStart_) applyFrame(draggedFrame(dragFrame_, zone_, dragStart_, at, grid_));
    emit dragFinished();
}

void TStretchHandle::applyFrame(const QRect& frame) {
    const QRect old = geometry();
    const int dx = frame.x() - old.x(), dy = frame.y() - old.y();
    const int dw = frame.width() - old.width(), dh = frame.height() - old.height();
    for (const QPointer<QWidget>& c : controls_) {
        if (!c) continue;
        const QRect g = c->geometry();
        c->setGeometry(g.x() + dx, g.y() + dy, std::max(1, g.width() + dw),
                       std::max(1, g.height() + dh));
    }
    setGeometry(frame);
    update();
}

void TStretchHandle::moveBy(int dx, int dy) {
    applyFrame(geometry().translated(dx, dy));
    emit dragFinished();
}

void TStretchHandle::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            moveBy(-1, 0);
            break;
        case Qt::Key_Up:
            moveBy(0, -1);
            break;
        case Qt::Key_Right:
            moveBy(1, 0);
            break;
        case Qt::Key_Down:
            moveBy(0, 1);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

}  // namespace qb
