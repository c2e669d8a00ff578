#pragma once
// One running copy per mode and user: a second copy of the same mode asks the first to come
// forward and ends. The name lives in the abstract socket namespace, so a copy that crashed leaves
// nothing behind that could block the next start.
#include <QObject>
#include <QString>

class QLocalServer;

namespace talik {

class InstanceGuard : public QObject
{
    Q_OBJECT
public:
    explicit InstanceGuard(const QString& name, QObject* parent = nullptr);

    // True when a copy of this mode runs already and was asked to come forward: this copy ends.
    bool handOver();
    // Starts answering later copies; false when the name could not be taken.
    bool listen();

signals:
    void raiseRequested();

private:
    void answer();

    QString m_name;
    QLocalServer* m_server = nullptr;
};

} // namespace talik
