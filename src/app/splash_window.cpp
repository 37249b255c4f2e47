// The splash artwork, drawn in code: a dark ink panel, a quill stroke, the name and version.
#include "app/splash_window.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>

#ifndef QB_VERSION
#define QB_VERSION "0.0.0"
#endif

namespace qb {

QString productVersion() {
    return QStringLiteral(QB_VERSION);
}

void nameApplication() {
    QGuiApplication::setApplicationName(QStringLiteral("quillbank"));
    QGuiApplication::setApplicationVersion(productVersion());
    // No display name: the window system appends it to every window title, which doubled the
    // main window's caption and cut the captions of small dialogs short. Every window sets
    // its own full title.
}

TSplash::TSplash(bool aboutBox, QWidget* parent) : QDialog(parent) {
    setObjectName(aboutBox ? QStringLiteral("About") : QStringLiteral("Splash"));
    setWindowTitle(aboutBox ? QStringLiteral("About") : QLatin1String(kProductTitle));
    if (aboutBox) {
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        setModal(true);
    } else {
        setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    }
    setFixedSize(380, 220);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("OKButton"));
    ok_->setDefault(true);
    ok_->setGeometry(width() - 92, height() - 40, 76, 26);
    ok_->setVisible(aboutBox);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    if (!aboutBox) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            move(screen->geometry().center() - rect().center());
        }
    }
}

void TSplash::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ink(0, 0, 0, height());
    ink.setColorAt(0, QColor(0x1F, 0x3A, 0x5C));
    ink.setColorAt(1, QColor(0x0E, 0x1C, 0x2E));
    p.fillRect(rect(), ink);

    // A quill: a curved vane and its shaft.
    QPainterPath vane;
    vane.moveTo(300, 30);
    vane.cubicTo(360, 40, 350, 120, 250, 170);
    vane.cubicTo(290, 110, 300, 70, 300, 30);
    p.fillPath(vane, QColor(0xF4, 0xEE, 0xDC, 220));
    p.setPen(QPen(QColor(0xC8, 0xA8, 0x5A), 2));
    p.drawLine(QPointF(318, 48), QPointF(232, 192));

    p.setPen(QColor(0xF4, 0xEE, 0xDC));
    QFont title = font();
    title.setPointSize(20);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(20, 40, 260, 40), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Quillbank"));
    QFont small = font();
    small.setPointSize(10);
    p.setFont(small);
    p.drawText(QRect(22, 82, 260, 20), Qt::AlignLeft, QStringLiteral("for Windows"));
    p.drawText(QRect(22, 120, 260, 20), Qt::AlignLeft,
               QStringLiteral("Version ") + productVersion());
    p.drawText(QRect(22, 142, 260, 20), Qt::AlignLeft, QStringLiteral("Mailing-list manager"));
}

}  // namespace qb
