// "Letter Designer": a letter's description and its text in the rich-text editor with its tool
// bar, the insert list of field tokens, Page Setup, Preview, Save and Cancel. Saving is the
// caller's: when it fails the designer stays open with the text as it is.
#pragma once

#include <QDialog>
#include <functional>

#include "store/contact_host.h"

class QComboBox;
class QLineEdit;

namespace qb::richtext {
class RichTextEditor;
}

namespace qb::letters {

class TLetterDesign : public QDialog {
  public:
    TLetterDesign(ContactHost& host, const QString& description, QWidget* parent = nullptr);

    richtext::RichTextEditor& editor() { return *editor_; }
    QString description() const;
    // Called by Save (and by closing the window); false keeps the designer open.
    std::function<bool(TLetterDesign&)> onSave;

    void FieldClick(int index);
    void SaveClick();
    void PageSetupClick();
    void PreviewClick();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    ContactHost& host_;
    QLineEdit* description_;
    QComboBox* fields_;
    richtext::RichTextEditor* editor_;
    bool saved_ = false;
};

}  // namespace qb::letters
