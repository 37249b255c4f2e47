// The access keys of the shown page's buttons: while a page is shown, its buttons own their
// letters, so a letter the menu bar uses too presses the button, every time, instead of
// landing on the menu at the second press.
#pragma once

#include <QObject>

class QAbstractButton;
class QKeyEvent;
class QStackedWidget;
class QWidget;

namespace qb {

class PageAccessKeys : public QObject {
  public:
    // Watches the keys of window, whose pages are those of notebook.
    PageAccessKeys(QWidget* window, QStackedWidget* notebook);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The shown page's usable button whose access key the key is; null when none.
    QAbstractButton* buttonFor(QObject* receiver, const QKeyEvent* key) const;

    QWidget* window_;
    QStackedWidget* notebook_;
};

}  // namespace qb
