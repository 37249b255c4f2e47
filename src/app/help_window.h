// The help window: opens a topic by its context number. Topics are HTML pages compiled into
// the program, one per number.
#pragma once

#include <QWidget>

class QTextBrowser;

namespace qb {

class HelpWindow : public QWidget {
    Q_OBJECT

  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the topic (or a page saying there is none) and brings the window forward. Asked
    // from a modal dialog, the window goes beside the dialog and belongs to it until it
    // closes, as a window outside the dialog would take no input meanwhile.
    void showTopic(int context);
    int currentTopic() const { return topic_; }
    QString currentTitle() const;

    // The resource of a topic; empty when there is no such topic.
    static QString topicResource(int context);
    // One help window for the program, made on first use; it belongs to the outermost
    // window of owner (the main window, also when a dialog asks first).
    static HelpWindow* shared(QWidget* owner);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void followModalDialog();
    void belongTo(QWidget* parent);

    QWidget* owner_ = nullptr;
    QTextBrowser* browser_;
    int topic_ = 0;
};

}  // namespace qb
