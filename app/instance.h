#pragma once
// One running copy per mode and user: a second copy of the same mode asks the first to come
// forward and ends. The name lives in the abstract socket namespace, so a copy that crashed leaves
// nothing behind that could block the next start; only copies of the same user answer each other.
// A plain local socket watched by the event loop: the program needs no network library for it.
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace talik {

class InstanceGuard : public QObject
{
    Q_OBJECT
public:
    explicit InstanceGuard(const QString& name, QObject* parent = nullptr);
    ~InstanceGuard() override;

    // True when a copy of this mode runs already and was asked to come forward: this copy ends.
    bool handOver();
    // Starts answering later copies; false when the name could not be taken.
    bool listen();

signals:
    void raiseRequested();

private:
    class Caller;
    void answer();

    QString m_name;
    int m_fd = -1; // the listening socket
    QSocketNotifier* m_listening = nullptr;
};

} // namespace talik
