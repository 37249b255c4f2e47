// Window events during a long run of records: handled often enough for a gauge to move and
// Cancel to answer, but not after every record, where they would cost far more than the record.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

namespace qb {

class EventPace {
  public:
    // Handles pending events when the last handling is at least this long ago (the first call
    // always handles them).
    void handleEvents(QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents) {
        if (since_.isValid() && since_.elapsed() < kIntervalMs) return;
        QCoreApplication::processEvents(flags);
        since_.start();
    }

  private:
    static constexpr qint64 kIntervalMs = 20;
    QElapsedTimer since_;
};

}  // namespace qb
