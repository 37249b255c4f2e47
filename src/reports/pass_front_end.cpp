// Running a pass with or without its windows.
#include "reports/pass_front_end.h"

#include "controls/prompts.h"
#include "output/report_error.h"
#include "output/status_window.h"
#include "reports/preview_form.h"

namespace qb {

bool DialogPassFrontEnd::runPass(TStatusWindow& window) {
    if (main_) {
        window.adjustSize();
        window.move(main_->geometry().center() - window.rect().center());
    }
    window.exec();
    return true;
}

void DialogPassFrontEnd::showPreview(QIODevice& stream, const QString& caption) {
    TPreviewForm::ShowPreview(main_, caption, &stream);
}

bool UnshownPassFrontEnd::runPass(TStatusWindow& window) {
    pages = 0;
    try {
        window.Engine().Execute();
    } catch (const ReportError& e) {
        prompts().error(nullptr, e.message());
        return false;
    } catch (const std::exception& e) {
        prompts().error(nullptr, QString::fromLocal8Bit(e.what()));
        return false;
    }
    pages = window.Engine().CurrentPage();
    return true;
}

}  // namespace qb
