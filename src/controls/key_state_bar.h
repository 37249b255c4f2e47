// The status bar with key-state panels: whether typing inserts or types over, and whether
// Caps Lock is on, so the keyboard's mode is never a surprise.
#pragma once

#include <QPointer>
#include <QStatusBar>

class QLabel;

namespace qb {

class KeyStateBar : public QStatusBar {
    Q_OBJECT

  public:
    explicit KeyStateBar(QWidget* parent = nullptr);
    ~KeyStateBar() override;

    void setInsertMode(bool on);
    bool capsLock() const { return capsLock_; }

    QLabel* InsertPanel;  // "INS" while inserting, "OVR" while typing over
    QLabel* CapsPanel;    // "CAPS" while Caps Lock is on, else empty

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setCapsLock(bool on);

    bool capsLock_ = false;
    const QEvent* lastCapsKey_ = nullptr;
    QPointer<QWidget> lastCapsWidget_;
};

}  // namespace qb
