// The sizing handles: which drag a pointer position starts, the frame a drag leaves, presses
// that fall through to what lies under the frame, and moving by arrow keys.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <stdexcept>

#include "controls/stretch_handle.h"

namespace {

using qb::TStretchHandle;
using Zone = TStretchHandle::Zone;

TEST(StretchHandle, ZonesAreTestedInTheirOrderAndTheLastMatchWins) {
    const QSize s(40, 20);
    const struct {
        QPoint at;
        Zone zone;
    } cases[] = {
        {{0, 0}, Zone::TopLeft},       {{4, 4}, Zone::TopLeft},   {{5, 4}, Zone::Move},
        {{39, 19}, Zone::BottomRight}, {{39, 0}, Zone::TopRight}, {{0, 19}, Zone::BottomLeft},
        {{20, 0}, Zone::Top},          {{22, 4}, Zone::Top},      {{23, 0}, Zone::Move},
        {{20, 19}, Zone::Bottom},      {{0, 10}, Zone::Left},     {{39, 11}, Zone::Right},
        {{20, 10}, Zone::Move},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TStretchHandle::zoneAt(s, c.at), c.zone) << c.at.x() << ',' << c.at.y();
    // In a frame so small that a corner reaches the side's middle, the side (tested later)
    // wins over the corner.
    EXPECT_EQ(TStretchHandle::zoneAt(QSize(6, 6), QPoint(3, 0)), Zone::Top);
    EXPECT_EQ(TStretchHandle::zoneAt(QSize(6, 6), QPoint(0, 3)), Zone::Left);
}

TEST(StretchHandle, DragsFollowTheirZoneSnapToTheGridAndKeepFivePixels) {
    const QRect f(10, 10, 40, 20);
    EXPECT_EQ(TStretchHandle::draggedFrame(f, Zone::Move, {0, 0}, {7, -3}, 1),
              QRect(17, 7, 40, 20));
    EXPECT_EQ(TStretchHandle::draggedFrame(f, Zone::BottomRight, {0, 0}, {5, 5}, 1),
              QRect(10, 10, 45, 25));
    EXPECT_EQ(TStretchHandle::draggedFrame(f, Zone::Left, {0, 0}, {-4, 9}, 1),
              QRect(6, 10, 44, 20));
    EXPECT_EQ(TStretchHandle::draggedFrame(f, Zone::Top, {0, 0}, {0, 100}, 1).height(), 5);
    EXPECT_EQ(TStretchHandle::draggedFrame(f, Zone::Move, {0, 0}, {3, 3}, 8), QRect(8, 8, 40, 24));
}

class HandleOnPanel : public ::testing::Test {
  protected:
    void SetUp() override {
        panel.resize(300, 200);
        block = new QLabel(QStringLiteral("block"), &panel);
        block->setGeometry(50, 50, 60, 20);
        other = new QLabel(QStringLiteral("other"), &panel);
        other->setGeometry(200, 50, 40, 20);
        handle = new TStretchHandle(&panel);
        panel.show();
    }
    QWidget panel;
    QLabel* block;
    QLabel* other;
    TStretchHandle* handle;
};

TEST_F(HandleOnPanel, AttachingFramesTheControlAndWindowsAreRefused) {
    EXPECT_FALSE(handle->isVisible());
    EXPECT_EQ(handle->size(), QSize(24, 24));
    handle->Attach(block);
    EXPECT_TRUE(handle->isVisible() && handle->isEnabled());
    EXPECT_EQ(handle->geometry(), QRect(48, 48, 64, 24));
    handle->Attach(other);
    EXPECT_EQ(handle->geometry(), QRect(48, 48, 194, 24));
    QWidget window;
    EXPECT_THROW(handle->Attach(&window), std::logic_error);
    handle->Detach();
    EXPECT_FALSE(handle->isVisible());
    EXPECT_TRUE(handle->Attached().isEmpty());
}

TEST_F(HandleOnPanel, ADragMovesTheControlClampedToTheParent) {
    handle->Attach(block);
    int finished = 0;
    QObject::connect(handle, &TStretchHandle::dragFinished, [&] { ++finished; });
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(30, 12));
    QTest::mouseMove(handle, QPoint(40, 22));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(40, 22));
    EXPECT_EQ(block->geometry(), QRect(60, 60, 60, 20));
    EXPECT_EQ(finished, 1);
    // Dragged far past the left edge: the pointer stops at the parent's edge.
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(30, 12));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(-500, 12));
    EXPECT_EQ(block->x(), 60 - (58 + 30));
    // Arrow keys move by a pixel.
    const QPoint before = block->pos();
    QTest::keyClick(handle, Qt::Key_Right);
    QTest::keyClick(handle, Qt::Key_Down);
    EXPECT_EQ(block->pos(), before + QPoint(1, 1));
}

class PressCounter : public QLabel {
  public:
    using QLabel::QLabel;
    int presses = 0;
    Qt::MouseButton last = Qt::NoButton;

  protected:
    void mousePressEvent(QMouseEvent* e) override {
        ++presses;
        last = e->button();
    }
};

TEST_F(HandleOnPanel, PressesOffTheControlsOrWithOtherButtonsFallThrough) {
    auto* under = new PressCounter(QStringLiteral("under"), &panel);
    under->setGeometry(120, 50, 30, 20);
    under->show();
    handle->Attach(block);
    handle->Attach(other);  // the frame now spans `under` without holding it
    handle->raise();
    QTest::mousePress(handle, Qt::LeftButton, {}, under->geometry().center() - handle->pos());
    EXPECT_EQ(under->presses, 1);
    // A right press on a held control reaches the control beneath.
    auto* held = new PressCounter(QStringLiteral("held"), &panel);
    held->setGeometry(10, 150, 40, 20);
    held->show();
    handle->Attach(held);  // same parent: joins the others
    handle->raise();
    QTest::mousePress(handle, Qt::RightButton, {}, held->geometry().center() - handle->pos());
    EXPECT_EQ(held->presses, 1);
    EXPECT_EQ(held->last, Qt::RightButton);
    EXPECT_EQ(block->pos(), QPoint(50, 50));  // nothing was dragged
}

}  // namespace
