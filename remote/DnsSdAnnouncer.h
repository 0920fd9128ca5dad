#pragma once
#include <QObject>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

struct AvahiClient;
struct AvahiEntryGroup;
struct AvahiThreadedPoll;

/// DNS-SD services published through the system's Avahi daemon (avahi-client on a poll thread
/// of its own) until withdrawn. A name taken on the network is replaced by Avahi's alternative.
class CDnsSdAnnouncer : public QObject {
    Q_OBJECT

public:
    struct CService {
        std::string m_strType; ///< "_scpi-raw._tcp"
        std::uint16_t m_nPort = 0;
    };

    explicit CDnsSdAnnouncer(QObject* parent = nullptr);
    ~CDnsSdAnnouncer() override; ///< Withdraws what was published.

    /// Publishes the services under `name` with the TXT entries ("key=value") on one network
    /// interface (its index; -1: all). False with the reason when no Avahi daemon answers.
    bool Announce(const std::string& name, std::vector<CService> services,
                  std::vector<std::string> txt, int interfaceIndex, std::string& error);
    void Withdraw();
    bool IsAnnounced() const { return m_pPoll != nullptr; }

signals:
    /// Avahi failed after the announcement was made (the daemon went, the name could not be
    /// had); from Avahi's thread, so connect it queued or auto.
    void Failed(const QString& reason);

private:
    static void OnClient(AvahiClient* client, int state, void* self);
    static void OnGroup(AvahiEntryGroup* group, int state, void* self);
    void Publish(AvahiClient* client);
    void Rename();

    AvahiThreadedPoll* m_pPoll = nullptr;
    AvahiClient* m_pClient = nullptr;
    AvahiEntryGroup* m_pGroup = nullptr;
    std::string m_strName;
    std::vector<CService> m_vServices;
    std::vector<std::string> m_vTxt;
    int m_nInterface = -1;
};
