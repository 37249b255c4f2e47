// The splash window: product name and version, shown while the program starts and, with its
// OK button, as the About box.
#pragma once

#include <QDialog>

class QPushButton;

namespace qb {

inline constexpr const char* kProductTitle = "Quillbank for Windows";

QString productVersion();
// Gives the application its name and version before any window is made.
void nameApplication();

class TSplash : public QDialog {
    Q_OBJECT

  public:
    // aboutBox: a modal box with OK; otherwise a borderless window that stays on top.
    explicit TSplash(bool aboutBox, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPushButton* ok_;
};

}  // namespace qb
