// The label definition editor "Add Label Definition" / "Edit Label Definition": sizes, pitches,
// counts, margins and paper of one kind of label stock, typed in inches or millimetres.
#pragma once

#include <QDialog>
#include <array>

#include "labels/label_definition.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace qb::labels {

class TLabelEdit : public QDialog {
  public:
    TLabelEdit(const QString& caption, const LabelDefinition& initial, QWidget* parent = nullptr);
    ~TLabelEdit() override;

    // The definition as saved; meaningful once the editor closed with Save.
    const LabelDefinition& Result() const { return result_; }
    LengthUnit unit() const { return unit_; }

    void OKButtonClick();
    void UnitClick(LengthUnit unit);
    void LabelWidthExit();
    void LabelHeightExit();
    void PaperSizeClick(int index);

  private:
    enum Length { Width, Height, HPitch, VPitch, Left, Top, PaperW, PaperH, LengthCount };

    QLineEdit* addLength(Length which, const char* name, const QString& help);
    double shown(Length which) const;
    void showLength(Length which, double value);
    void applyUnitMask();

    LabelDefinition result_;
    LengthUnit unit_ = LengthUnit::Inches;
    std::array<QLineEdit*, LengthCount> lengths_{};
    QLineEdit* description_;
    QSpinBox* across_;
    QSpinBox* down_;
    QComboBox* paperList_;
    QCheckBox* tractorFed_;
    QRadioButton* inches_;
    QRadioButton* millimetres_;
};

}  // namespace qb::labels
