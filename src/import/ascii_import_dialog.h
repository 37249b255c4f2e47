// The ASCII File Import window and its matching window: choosing the text file, matching its
// values to contact fields with the seventeen buttons and Date, then the import with its
// gauge and Cancel, and the index rebuild that always follows.
#pragma once

#include <QDialog>
#include <QStringList>
#include <map>

#include "import/ascii_import.h"
#include "store/contact_file.h"
#include "store/contact_rebuild.h"
#include "store/dataset.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace qb::import {

inline constexpr int kHelpAsciiImport = 1003;
inline constexpr int kHelpAsciiMatch = 1004;

class TAsciiMatch : public QDialog {
    Q_OBJECT

  public:
    TAsciiMatch(const AsciiSample& sample, const QStringList& matches, QWidget* parent = nullptr);

    // The match of each value position as the grid shows it.
    QStringList matches() const;
    void FieldButtonClick(const QString& caption);
    QPushButton* button(const QString& objectName) const;

    QTableWidget *ASCIIGrid, *SG;
    QPushButton *OKButton, *Cancelbutton, *HelpButton;

  private:
    std::map<QString, QPushButton*> buttons_;  // by caption
};

class TAsciiImport : public QDialog {
    Q_OBJECT

  public:
    // destination: the contact file, held exclusively for the window's lifetime.
    TAsciiImport(Dataset& destination, const QString& folder, QWidget* parent = nullptr);

    void SelectButtonClick();
    void MatchButtonClick();
    void ImportButtonClick();
    void CancelButtonClick();
    const QStringList& currentMatches() const { return matches_; }
    // For tests: what Match Fields would open with.
    const AsciiSample& sample() const { return sample_; }
    void setMatches(const QStringList& matches);

    QWidget* ButtonPanel;
    QPushButton *SelectButton, *MatchButton, *ImportButton, *CancelButton, *HelpButton;
    QToolButton* MouseHelpButton;
    QLabel *AsciiFileName, *StatusLabel;
    QProgressBar* Gauge1;

  protected:
    void reject() override;

  private:
    void say(const QString& text);

    Dataset& destination_;
    QString folder_;
    QString fileName_;
    AsciiSample sample_;
    QStringList matches_;
    ReindexGauge rebuildGauge_;
    bool importing_ = false;
    bool cancelRequested_ = false;
    bool rebuilding_ = false;
};

// Rebuilds the contact file's tags after an import, reporting to the gauge; any failure is
// told through notify.
void rebuildAfterImport(Dataset& destination, ReindexGauge& gauge, QProgressBar* bar,
                        const Notify& notify);

}  // namespace qb::import
