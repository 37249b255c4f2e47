// The print-labels dialog: the setup list with New, Modify and Delete, the scope choices and
// the presort flag, and a preview run through the status window into the preview window.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "labels/design_label.h"
#include "labels/label_print.h"
#include "labels/qb_labels.h"
#include "labels/table_grid.h"
#include "labels_fixture.h"
#include "presort/bulk_mail_presort.h"
#include "reports/preview_form.h"

namespace {

using namespace labelstest;
using namespace qb::labels;

class Quiet : public qb::presort::PresortObserver {
  public:
    void showProgress(const QString&) override {}
    bool cancelRequested() override { return false; }
};

class Unshown : public LabelJobFrontEnd {
  public:
    bool runPresort(qb::Dataset& contacts, const QString& folder) override {
        ++presorts;
        Quiet quiet;
        return qb::presort::BulkMailPresort(quiet).run(contacts.area(), folder);
    }
    bool runPass(TLabelPrint& window) override {
        window.RunUnshown();
        labels = window.run()->recordLabels();
        return true;
    }
    void showPreview(QIODevice&) override { ++previews; }
    int presorts = 0, previews = 0, labels = 0;
};

class PrintLabels : public LabelsTest {
  protected:
    std::unique_ptr<TQBLabels> open() {
        auto d = std::make_unique<TQBLabels>(*host);
        EXPECT_TRUE(d->OpenSetupTable());
        d->FormActivate();
        return d;
    }
    bool enabled(TQBLabels& d, const char* name) { return child<QWidget>(&d, name)->isEnabled(); }
};

TEST_F(PrintLabels, AnEmptySetupTableOffersOnlyNewWhichSavesTheUntitledDefault) {
    openContacts(numbered(3));
    auto d = open();
    for (const char* name :
         {"ModifyButton", "PrintNow", "PreviewButton", "DeleteButton", "LabelSetupGrid"})
        EXPECT_FALSE(enabled(*d, name)) << name;
    EXPECT_TRUE(enabled(*d, "NewButton"));

    onModal<TDesignLabel>([](TDesignLabel* designer) {
        EXPECT_EQ(designer->current().descript, QString::fromLatin1(kUntitledSetup));
        EXPECT_FLOAT_EQ(designer->current().leftMarg, 0.188f);
        child<QPushButton>(designer, "OkButton")->click();
    });
    child<QPushButton>(d.get(), "NewButton")->click();
    ASSERT_TRUE(d->setupTable().onRecord());
    EXPECT_EQ(d->currentSetup().descript, QString::fromLatin1(kUntitledSetup));
    EXPECT_TRUE(enabled(*d, "ModifyButton"));
    EXPECT_EQ(d->setupTable().recCount(), 1u);

    // Modify changes the same row; Cancel in the designer changes nothing.
    onModal<TDesignLabel>([](TDesignLabel* designer) {
        child<QLineEdit>(designer, "LabelSetupDescription")->setText(QStringLiteral("Club"));
        child<QPushButton>(designer, "OkButton")->click();
    });
    child<QPushButton>(d.get(), "ModifyButton")->click();
    onModal<TDesignLabel>([](TDesignLabel* designer) {
        child<QLineEdit>(designer, "LabelSetupDescription")->setText(QStringLiteral("Gone"));
        child<QPushButton>(designer, "CancelButton")->click();
    });
    child<QPushButton>(d.get(), "ModifyButton")->click();
    EXPECT_EQ(d->setupTable().recCount(), 1u);
    EXPECT_EQ(d->currentSetup().descript, QStringLiteral("Club"));

    script.answerNo(QStringLiteral("Delete this record?"))
        .answerYes(QStringLiteral("Delete this record?"));
    d->DeleteButtonClick();
    EXPECT_TRUE(d->setupTable().onRecord());
    d->DeleteButtonClick();
    EXPECT_FALSE(d->setupTable().onRecord());
    EXPECT_FALSE(enabled(*d, "PrintNow"));
}

TEST_F(PrintLabels, ScopeChangesForgetThePresortAndOnlyCurrentHasNone) {
    openContacts(numbered(12, "12345"));
    auto d = open();
    Unshown frontEnd;
    d->setFrontEnd(&frontEnd);
    QCheckBox* presort = child<QCheckBox>(d.get(), "PresortCheck");
    presort->setChecked(true);
    child<QRadioButton>(d.get(), "rbQAll")->click();
    const QString notice = QString::fromLatin1(kPresortOrderMessage);
    script.acknowledge(notice).acknowledge(notice);
    d->PreviewButtonClick();
    EXPECT_TRUE(d->presortDone());
    d->PreviewButtonClick();
    EXPECT_EQ(frontEnd.presorts, 1);
    EXPECT_EQ(frontEnd.previews, 2);

    child<QCheckBox>(d.get(), "StartCurrentCheck")->click();
    EXPECT_FALSE(d->presortDone());
    script.acknowledge(notice);
    d->PreviewButtonClick();
    EXPECT_TRUE(d->presortDone());
    child<QRadioButton>(d.get(), "rbOnlyThis")->click();
    EXPECT_FALSE(d->presortDone());
    EXPECT_FALSE(presort->isChecked());
    EXPECT_FALSE(presort->isEnabled());
    child<QRadioButton>(d.get(), "rbQFilter")->click();
    EXPECT_TRUE(presort->isEnabled());

    // Copies come from the spin box; the default setup comes from an empty table.
    child<QSpinBox>(d.get(), "NumberofEachLabel")->setValue(2);
    d->PreviewButtonClick();
    EXPECT_EQ(frontEnd.labels, 24);

    // Print Now asks the print dialog first; cancelling it prints nothing.
    qb::PrintDialogAnswer cancel;
    cancel.accept = false;
    script.answerPrintDialog(cancel);
    d->PrintNowClick();
    EXPECT_EQ(frontEnd.previews, 4);
}

TEST_F(PrintLabels, WithoutAFilterAllRecordsIsChosen) {
    openContacts(numbered(1));
    auto d = open();
    EXPECT_TRUE(child<QRadioButton>(d.get(), "rbQFilter")->isChecked());
    d->DisableFilterChoice();
    EXPECT_FALSE(enabled(*d, "rbQFilter"));
    EXPECT_TRUE(child<QRadioButton>(d.get(), "rbQAll")->isChecked());

    QFile::remove(path(kLabelSetupFileName));
    TQBLabels missing(*host);
    EXPECT_FALSE(missing.OpenSetupTable());
}

TEST_F(PrintLabels, ASetupThatCannotBePrintedIsRefusedBeforeThePrintDialog) {
    openContacts(numbered(1));
    {
        xb::WorkArea setups;
        setups.use(path(kLabelSetupFileName).toStdString());
        setups.append();
        LabelSetup bad;
        bad.descript = QStringLiteral("Crooked");
        bad.nbrAcross = 0;
        WriteLabelSetup(setups, bad);
        setups.post();
    }
    auto d = open();
    script.acknowledge(setupRefusedMessage(QStringLiteral("Crooked"),
                                           QStringLiteral("Number Across must be from 1 to 10")));
    d->PrintNowClick();
    EXPECT_EQ(d->lastOutcome(), LabelJobOutcome::SetupRefused);
}

TEST_F(PrintLabels, APreviewRunsInTheStatusWindowAndOpensThePreview) {
    openContacts(numbered(4));
    auto d = open();
    QString status;
    QString caption, pageLabel;
    onModal<TLabelPrint>([&](TLabelPrint* window) {
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Preview Status"));
        // The pass runs as soon as the window is up; OK closes it afterwards.
        QTimer::singleShot(50, [&, window] {
            status = window->StatusLabel()->text();
            onModal<qb::TPreviewForm>([&](qb::TPreviewForm* preview) {
                caption = preview->windowTitle();
                pageLabel = preview->PageLabel()->text();
                preview->CloseButtonClick();
            });
            window->CancelButton()->click();
        });
    });
    d->PreviewButtonClick();
    EXPECT_EQ(status, QStringLiteral("\nLabel Preview Ready!"));
    EXPECT_EQ(caption, QStringLiteral("Preview Labels"));
    EXPECT_EQ(pageLabel, QStringLiteral("Page 1 of 1"));
    EXPECT_EQ(d->lastOutcome(), LabelJobOutcome::Completed);
}

}  // namespace
