// "Select Envelope Size": the envelope sizes of QBMENVS.DBF, with New, Edit and Delete for the
// user's own sizes. OK leaves the chosen size as the table's current row.
#pragma once

#include <QDialog>

#include "envelopes/envelope_size.h"
#include "store/dataset.h"

class QPushButton;

namespace qb::labels {
class TableGrid;
}

namespace qb::envelopes {

inline constexpr const char* kUnableToOpenSizes =
    "We were unable to open the envelope definition file: QBMENVS.DBF";

class TSelectEnvelope : public QDialog {
  public:
    // sizes: QBMENVS.DBF, opened by the caller; envName: the setup's current size.
    TSelectEnvelope(Dataset& sizes, QString envName, QWidget* parent = nullptr);
    ~TSelectEnvelope() override;

    // The first activation: the walk to the setup's size (exact, letter case counts).
    void FormActivate();
    void NewEnvelopeClick();
    void EditEnvelopeClick();
    void DeleteEnvelopeClick();
    void OKButtonClick();

    EnvelopeSize Chosen() const { return readEnvelopeSize(sizes_.area()); }
    labels::TableGrid* Grid() const { return grid_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void setButtons();

    Dataset& sizes_;
    QString envName_;
    bool firstActivation_ = true;
    labels::TableGrid* grid_;
    QPushButton* ok_;
    QPushButton* edit_;
    QPushButton* delete_;
};

}  // namespace qb::envelopes
