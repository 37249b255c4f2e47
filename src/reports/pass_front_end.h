// How a print or preview pass is run and its pages shown: in the status window over the main
// window and the preview window (from a dialog), or without any window (unattended runs and
// tests). Reports and the ZIP code count share it.
#pragma once

#include <QString>

class QIODevice;
class QWidget;

namespace qb {

class TStatusWindow;

class PassFrontEnd {
  public:
    virtual ~PassFrontEnd() = default;
    // Runs the prepared pass; false when it failed (the failure has been told).
    virtual bool runPass(TStatusWindow& window) = 0;
    // Shows the pages of a finished preview pass under the caption.
    virtual void showPreview(QIODevice& stream, const QString& caption) = 0;
};

// The status window shown modally, centred over the main window; the preview window.
class DialogPassFrontEnd : public PassFrontEnd {
  public:
    explicit DialogPassFrontEnd(QWidget* mainWindow) : main_(mainWindow) {}
    bool runPass(TStatusWindow& window) override;
    void showPreview(QIODevice& stream, const QString& caption) override;

  private:
    QWidget* main_;
};

// The pass runs without showing its window; a failure is told through the prompts seam as an
// error. Nothing is previewed.
class UnshownPassFrontEnd : public PassFrontEnd {
  public:
    bool runPass(TStatusWindow& window) override;
    void showPreview(QIODevice&, const QString&) override {}
    // Pages drawn by the last pass.
    int pages = 0;
};

}  // namespace qb
