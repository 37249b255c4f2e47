// The help window's browser and its topic lookup.
#include "app/help_window.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace qb {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
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
    show();
    raise();
    activateWindow();
}

HelpWindow* HelpWindow::shared(QWidget* owner) {
    static QPointer<HelpWindow> window;
    if (!window) window = new HelpWindow(owner ? owner->window() : nullptr);
    return window;
}

}  // namespace qb
