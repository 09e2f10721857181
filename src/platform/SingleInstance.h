#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

namespace gf {

// Keeps the program to one instance per user. A second start asks the running one
// to come to the front and then ends quietly:
//     SingleInstance instance;
//     if (instance.tryActivateRunning()) return 0;
//     instance.listen();
class SingleInstance final : public QObject
{
    Q_OBJECT
public:
    // The key of the application title and the user.
    static QString defaultKey();

    explicit SingleInstance(const QString& key = defaultKey(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another instance answered; it has been asked to come to the front.
    bool tryActivateRunning();
    // Starts answering later starts. A socket left by a crashed instance is removed;
    // false when another live instance holds the key, or listening failed.
    bool listen();
    bool isListening() const;
    QString key() const { return m_key; }

    // Restores a minimised window and brings it to the front.
    static void bringToFront(QWidget* window);

signals:
    void activationRequested();

private:
    void acceptConnections();

    QString m_key;
    QLocalServer* m_server = nullptr;
};

} // namespace gf
