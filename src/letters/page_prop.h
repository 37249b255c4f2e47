// "Page Properties": the letter's paper size and margins, shown in inches, centimetres or
// twips. The values are held in twips and each box converts only what is typed into it, so
// changing the unit back and forth never changes a value.
#pragma once

#include <QDialog>
#include <array>
#include <optional>

#include "richtext/page_settings.h"

class QComboBox;
class QLineEdit;

namespace qb::letters {

enum class PageUnit { Inch, Cm, Twips };

// A twips value as the unit shows it: inches and centimetres with two decimals.
QString showTwips(int twips, PageUnit unit);
// Text typed in the unit back to twips, rounded; empty text is 0. Nothing when the text is
// not a number.
std::optional<int> readTwips(const QString& text, PageUnit unit);

class TPageProp : public QDialog {
  public:
    explicit TPageProp(const richtext::PageSettings& page, QWidget* parent = nullptr);

    // The six values as they now stand (what OK applies).
    richtext::PageSettings result() const;
    void setUnit(PageUnit unit);

  private:
    void showAll();
    void boxEdited(int index);

    // Paper width and height; top, bottom, left and right margins.
    std::array<int, 6> twips_{};
    std::array<QLineEdit*, 6> boxes_{};
    QComboBox* units_;
    PageUnit unit_ = PageUnit::Inch;
};

}  // namespace qb::letters
