#include "remote/DnsSdAnnouncer.h"

#include <avahi-client/client.h>
#include <avahi-client/publish.h>
#include <avahi-common/alternative.h>
#include <avahi-common/error.h>
#include <avahi-common/malloc.h>
#include <avahi-common/strlst.h>
#include <avahi-common/thread-watch.h>

CDnsSdAnnouncer::CDnsSdAnnouncer(QObject* parent) : QObject(parent) {}

CDnsSdAnnouncer::~CDnsSdAnnouncer() {
    Withdraw();
}

bool CDnsSdAnnouncer::Announce(const std::string& name, std::vector<CService> services,
                               std::vector<std::string> txt, int interfaceIndex,
                               std::string& error) {
    Withdraw();
    m_strName = name;
    m_vServices = std::move(services);
    m_vTxt = std::move(txt);
    m_nInterface = interfaceIndex;
    m_pPoll = avahi_threaded_poll_new();
    if (!m_pPoll) {
        error = "Avahi cannot start";
        return false;
    }
    int code = 0;
    // The client reports its first state from here, before the poll thread runs.
    m_pClient = avahi_client_new(
        avahi_threaded_poll_get(m_pPoll), AvahiClientFlags(0),
        [](AvahiClient* c, AvahiClientState s, void* self) { OnClient(c, int(s), self); }, this,
        &code);
    if (!m_pClient || avahi_threaded_poll_start(m_pPoll) < 0) {
        error = m_pClient ? "Avahi cannot start" : avahi_strerror(code);
        Withdraw();
        return false;
    }
    return true;
}

void CDnsSdAnnouncer::Withdraw() {
    if (!m_pPoll)
        return;
    avahi_threaded_poll_stop(m_pPoll);
    // Freeing the client frees its entry group, which withdraws the services.
    if (m_pClient)
        avahi_client_free(m_pClient);
    avahi_threaded_poll_free(m_pPoll);
    m_pClient = nullptr;
    m_pGroup = nullptr;
    m_pPoll = nullptr;
}

void CDnsSdAnnouncer::OnClient(AvahiClient* client, int state, void* self) {
    auto* announcer = static_cast<CDnsSdAnnouncer*>(self);
    switch (AvahiClientState(state)) {
    case AVAHI_CLIENT_S_RUNNING:
        announcer->Publish(client);
        break;
    case AVAHI_CLIENT_S_COLLISION:
    case AVAHI_CLIENT_S_REGISTERING:
        // The host's own name changes: publish again once it is settled.
        if (announcer->m_pGroup)
            avahi_entry_group_reset(announcer->m_pGroup);
        break;
    case AVAHI_CLIENT_FAILURE:
        emit announcer->Failed(QString::fromUtf8(avahi_strerror(avahi_client_errno(client))));
        break;
    default:
        break;
    }
}

void CDnsSdAnnouncer::OnGroup(AvahiEntryGroup* group, int state, void* self) {
    auto* announcer = static_cast<CDnsSdAnnouncer*>(self);
    switch (AvahiEntryGroupState(state)) {
    case AVAHI_ENTRY_GROUP_COLLISION:
        announcer->Rename();
        announcer->Publish(avahi_entry_group_get_client(group));
        break;
    case AVAHI_ENTRY_GROUP_FAILURE:
        emit announcer->Failed(QString::fromUtf8(
            avahi_strerror(avahi_client_errno(avahi_entry_group_get_client(group)))));
        break;
    default:
        break;
    }
}

void CDnsSdAnnouncer::Rename() {
    char* alternative = avahi_alternative_service_name(m_strName.c_str());
    m_strName = alternative;
    avahi_free(alternative);
}

void CDnsSdAnnouncer::Publish(AvahiClient* client) {
    if (!m_pGroup) {
        m_pGroup = avahi_entry_group_new(
            client,
            [](AvahiEntryGroup* g, AvahiEntryGroupState s, void* self) {
                OnGroup(g, int(s), self);
            },
            this);
        if (!m_pGroup) {
            emit Failed(QString::fromUtf8(avahi_strerror(avahi_client_errno(client))));
            return;
        }
    }
    if (!avahi_entry_group_is_empty(m_pGroup))
        return;
    AvahiStringList* txt = nullptr;
    for (const std::string& entry : m_vTxt)
        txt = avahi_string_list_add(txt, entry.c_str());
    const AvahiIfIndex where = m_nInterface < 0 ? AVAHI_IF_UNSPEC : AvahiIfIndex(m_nInterface);
    int code = AVAHI_OK;
    for (int tries = 0; tries < 10; ++tries) {
        code = AVAHI_OK;
        for (const CService& service : m_vServices) {
            code = avahi_entry_group_add_service_strlst(
                m_pGroup, where, AVAHI_PROTO_UNSPEC, AvahiPublishFlags(0), m_strName.c_str(),
                service.m_strType.c_str(), nullptr, nullptr, service.m_nPort, txt);
            if (code < 0)
                break;
        }
        if (code != AVAHI_ERR_COLLISION)
            break;
        // A service of ours elsewhere on the network has the name: take the next one.
        Rename();
        avahi_entry_group_reset(m_pGroup);
    }
    if (code == AVAHI_OK)
        code = avahi_entry_group_commit(m_pGroup);
    avahi_string_list_free(txt);
    if (code < 0)
        emit Failed(QString::fromUtf8(avahi_strerror(code)));
}
