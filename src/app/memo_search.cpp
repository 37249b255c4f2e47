// Walking the records for the memo search while keeping the window alive.
#include "app/memo_search.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "controls/background.h"
#include "controls/beep.h"
#include "controls/event_pace.h"
#include "xbase/error.h"

namespace qb {
bool memoContains(const QString& memo, const QString& text) {
    // No text is in no memo: an empty search text must not stop at every memo there is.
    if (memo.isEmpty() || text.isEmpty()) return false;
    return QStringView(memo).left(kMemoSearchReach).contains(text, Qt::CaseInsensitive);
}

TQBWSearching::TQBWSearching(Dataset& table, const QString& text, bool fromStart, QWidget* parent)
    : QDialog(parent), table_(table), text_(text), fromStart_(fromStart) {
    setObjectName(QStringLiteral("TQBWSearching"));
    setWindowTitle(QStringLiteral("Searching"));
    // No system buttons: the window closes itself when the walk ends.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    tileBackground(this);
    SearchingFor = new QLabel(QStringLiteral("Searching for: ") + text, this);
    SearchingFor->setObjectName(QStringLiteral("SearchingFor"));
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(CancelButton, &QPushButton::clicked, this, &TQBWSearching::CancelButtonClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CancelButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SearchingFor);
    layout->addLayout(buttons);
    setMinimumWidth(280);
}

void TQBWSearching::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (started_) return;
    started_ = true;
    // The walk starts once the window is up, from the event loop of its own exec().
    QTimer::singleShot(0, this, &TQBWSearching::run);
}

void TQBWSearching::CancelButtonClick() {
    cancelled_ = true;
}

void TQBWSearching::reject() {
    // Escape or closing the window stops the walk; the window goes when the walk has ended.
    if (running_) {
        cancelled_ = true;
    } else if (!started_) {
        QDialog::reject();
    }
}

bool TQBWSearching::matches() {
    return memoContains(table_.memo(QStringLiteral("MEMO")), text_);
}

void TQBWSearching::run() {
    running_ = true;
    table_.disableControls();
    xb::WorkArea& area = table_.area();
    const uint32_t remembered = table_.recNo();
    // Let the window show its text, and a Cancel already pressed count.
    QCoreApplication::processEvents();
    try {
        if (fromStart_) {
            area.first();
        } else {
            area.skip(1);
        }
        EventPace pace;
        while (!area.eof() && !cancelled_) {
            if (matches()) {
                found_ = true;
                break;
            }
            area.skip(1);
            pace.handleEvents();
        }
    } catch (const xb::Error& e) {
        // Reported by the table like any other engine failure; the walk stops there.
        emit table_.failed(QString::fromUtf8(e.what()));
        found_ = false;
    }
    const uint32_t stop = found_ ? area.recNo() : remembered;
    if (!found_) beep();
    table_.go(stop);
    table_.enableControls();
    running_ = false;
    // Closing from inside the walk's own call would end exec() under it; post it instead.
    QTimer::singleShot(0, this, [this] { done(found_ ? Accepted : Rejected); });
}

}  // namespace qb
