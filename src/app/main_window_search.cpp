// Finding records: Search by the key of the current order, the memo search with Find Next,
// and Count Records.
#include <QAction>
#include <QPushButton>

#include "app/main_page.h"
#include "app/main_window.h"
#include "app/memo_search.h"
#include "app/search_box.h"
#include "controls/placement.h"
#include "controls/prompts.h"
#include "store/contact_file.h"
#include "store/counted.h"
#include "store/date_format.h"
#include "xbase/error.h"

namespace qb {
namespace {

// The longest text the memo search takes.
constexpr qsizetype kMemoSearchText = 255;

}  // namespace

void TQBMMain::SearchButtonClick() {
    if (currentPage() != 0 || !TableQBW_.onRecord() || TableQBW_.editing()) return;
    // A file opened without its index is shown in record order and has no key to search by.
    if (TableQBW_.area().indexOrd() == 0) {
        prompts().information(this, missingIndexMessage(CurrentFileName_));
        return;
    }
    QString caption;
    for (const OrderItem& o : menus_.orderItems) {
        if (o.action->isChecked()) caption = o.action->text().mid(1);
    }
    TSearchBox box(caption, currentDateFormat().shortFormat, this);
    centreOver(box, *this);
    if (box.exec() != QDialog::Accepted || box.text().isEmpty()) return;

    QString key;
    if (caption.toUpper() == QLatin1String("DATE")) {
        const auto date = parseDate(box.text());
        if (!date || *date == xb::kEmptyDate) {
            prompts().information(this, QStringLiteral("Invalid date entered"));
            return;
        }
        key = QString::fromStdString(xb::jdnToDtos(*date));
    } else {
        key = box.text().toUpper();
    }

    xb::WorkArea& area = TableQBW_.area();
    const uint32_t remembered = TableQBW_.recNo();
    uint32_t target = remembered;
    try {
        area.setExact(false);
        area.setSoftSeek(true);
        if (area.seek(key.toStdString())) target = area.recNo();
    } catch (const xb::Error& e) {
        reportEngineFailure(QString::fromUtf8(e.what()));
    }
    area.setSoftSeek(false);
    TableQBW_.go(target);
}

void TQBMMain::SearchMemoButtonClick() {
    if (!TableQBW_.onRecord() || TableQBW_.editing()) return;
    const auto text = prompts().inputText(this, QStringLiteral("Memo Search"),
                                          QStringLiteral("Search For"), QString());
    if (!text) return;
    MemoSearchText_ = text->left(kMemoSearchText);
    MemoFound_ = false;
    FindTextInMemo(true);
    mainPage_->SearchMemoNextButton->setVisible(MemoFound_);
}

void TQBMMain::SearchMemoNextButtonClick() {
    if (!TableQBW_.onRecord() || TableQBW_.editing()) return;
    FindTextInMemo(false);
    mainPage_->SearchMemoNextButton->setVisible(MemoFound_);
}

bool TQBMMain::FindTextInMemo(bool fromStart) {
    TQBWSearching window(TableQBW_, MemoSearchText_, fromStart, this);
    centreOver(window, *this);
    window.exec();
    MemoFound_ = window.found();
    return MemoFound_;
}

void TQBMMain::CountRecords1Click() {
    const qint64 n = qint64(TableQBW_.selectionRecordCount());
    QString text = (n == 1 ? QStringLiteral("There is ") : QStringLiteral("There are ")) +
                   counted(n, "record", "records");
    if (!CurrentFilter_.isEmpty())
        text += n == 1 ? QStringLiteral(" which matches the current filter")
                       : QStringLiteral(" which match the current filter");
    prompts().information(this, text);
}

}  // namespace qb
