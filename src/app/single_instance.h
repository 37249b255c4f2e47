// Keeps one copy of the program per program folder: the first start holds a lock file and
// listens; a later start asks it to bring its window forward and then ends.
#pragma once

#include <QLockFile>
#include <QObject>
#include <memory>

class QLocalServer;

namespace qb {

class SingleInstance : public QObject {
    Q_OBJECT

  public:
    explicit SingleInstance(const QString& programFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the first copy: it now holds the lock and listens for later starts.
    bool becomePrimary();
    // From a later start: asks the first copy to show its window. False when it cannot be
    // reached.
    bool askPrimaryToRaise();

  signals:
    void raiseRequested();

  private:
    QString serverName_;
    QLockFile lock_;
    std::unique_ptr<QLocalServer> server_;
};

}  // namespace qb
