// The help window's browser and its topic lookup.
#include "app/help_window.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "controls/placement.h"

namespace qb {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), owner_(parent) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Quillbank Help"));
    resize(560, 480);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenLinks(true);
    browser_->setSearchPaths({QStringLiteral(":/help")});
    auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
    contents->setObjectName(QStringLiteral("ContentsButton"));
    auto* back = new QPushButton(QStringLiteral("&Back"), this);
    back->setObjectName(QStringLiteral("BackButton"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("CloseButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    connect(contents, &QPushButton::clicked, this, [this] { showTopic(1010); });
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        topic_ = url.fileName().section(u'.', 0, 0).toInt();
        setWindowTitle(QStringLiteral("Quillbank Help - ") + currentTitle());
    });
}

QString HelpWindow::topicResource(int context) {
    const QString path = QStringLiteral(":/help/%1.html").arg(context);
    return QFile::exists(path) ? path : QString();
}

QString HelpWindow::currentTitle() const {
    return browser_->documentTitle();
}

void HelpWindow::showTopic(int context) {
    const QString resource = topicResource(context);
    if (resource.isEmpty()) {
        topic_ = context;
        browser_->setHtml(QStringLiteral("<h2>No help topic %1</h2><p>There is no help for this "
                                         "item. <a href=\"qrc:/help/1010.html\">Contents</a></p>")
                              .arg(context));
    } else {
        browser_->setSource(QUrl(QStringLiteral("qrc") + resource));
    }
    followModalDialog();
    show();
    raise();
    activateWindow();
}

void HelpWindow::belongTo(QWidget* parent) {
    if (parentWidget() == parent) return;
    const bool shown = isVisible();
    const QPoint at = pos();
    setParent(parent, windowFlags());
    move(at);
    if (shown) show();
}

void HelpWindow::followModalDialog() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == this || isAncestorOf(modal)) return;
    if (parentWidget()) parentWidget()->removeEventFilter(this);
    // While a modal dialog runs, only it and its own windows take input.
    belongTo(modal);
    modal->installEventFilter(this);
    placeBeside(*this, *modal);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && watched == parentWidget() && watched != owner_) {
        // The dialog is going: the help stays open, with the window it came from.
        watched->removeEventFilter(this);
        belongTo(owner_);
    }
    return false;
}

HelpWindow* HelpWindow::shared(QWidget* owner) {
    static QPointer<HelpWindow> window;
    if (!window) {
        QWidget* top = owner ? owner->window() : nullptr;
        while (top && top->parentWidget())
            top = top->parentWidget()->window();
        window = new HelpWindow(top);
    }
    return window;
}

}  // namespace qb
