// Envelope sizes (QBMENVS.DBF): one named size in inches, stock or the user's own; and the
// editor "Add New Envelope Size" / "Edit Envelope Size" that types it in inches or
// millimetres.
#pragma once

#include <QDialog>
#include <QString>

#include "xbase/work_area.h"

class QLineEdit;
class QRadioButton;
class QDoubleSpinBox;

namespace qb::envelopes {

inline constexpr int kSizeNameWidth = 20;
inline constexpr int kSizeDescWidth = 20;

struct EnvelopeSize {
    QString name;
    QString desc;
    double width = 0;
    double height = 0;
    bool userDefined = false;
};

EnvelopeSize readEnvelopeSize(const xb::WorkArea& table);
// Writes name, description and size (rounded to thousandths) into the current (edited or
// appended) row; USERDEF only when asked.
void writeEnvelopeSize(xb::WorkArea& table, const EnvelopeSize& size, bool withUserDef);

class TEnvelopeEdit : public QDialog {
  public:
    enum class Unit { Inches, Millimetres };

    TEnvelopeEdit(const QString& caption, QWidget* parent = nullptr);
    ~TEnvelopeEdit() override;

    // Fills the hidden inch values and the texts; the visible edits follow on activation.
    void Load(const EnvelopeSize& size);
    // The first activation: the visible edits take the hidden inch values.
    void FormActivate();
    void MMButtonClick();
    void InchesbuttonClick();
    // Validates; closes with OK when every check passes.
    void OKButtonClick();

    // The size as saved, in inches; meaningful once the editor closed with Save.
    EnvelopeSize Result() const;
    Unit unit() const { return unit_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    double shown(QLineEdit* edit) const;
    void show(QLineEdit* edit, double value);
    void applyMask();

    Unit unit_ = Unit::Inches;
    bool firstActivation_ = true;
    double origWidth_ = 9.5;
    double origHeight_ = 4.13;
    QLineEdit* name_;
    QLineEdit* desc_;
    QLineEdit* width_;
    QLineEdit* height_;
    QRadioButton* inches_;
    QRadioButton* millimetres_;
};

}  // namespace qb::envelopes
