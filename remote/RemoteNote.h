#pragma once
#include <QList>
#include <QString>

/// What the remote servers say of a service beside the raw socket: which note and its detail
/// (the resource served, the name announced, or the reason it is off). The window shows it in
/// the language chosen, the headless program in English.
struct CRemoteNote {
    enum EKind { VXI11_ON, VXI11_OFF, DNSSD_ON, DNSSD_OFF };

    EKind m_eKind = VXI11_ON;
    QString m_strDetail;

    /// The English text before the detail.
    static QString EnglishPrefix(EKind kind) {
        switch (kind) {
        case VXI11_ON:
            return QStringLiteral("VXI-11: ");
        case VXI11_OFF:
            return QStringLiteral("VXI-11 off, serving the raw socket alone: ");
        case DNSSD_ON:
            return QStringLiteral("DNS-SD: announced as ");
        case DNSSD_OFF:
            break;
        }
        return QStringLiteral("DNS-SD off: ");
    }
    QString English() const { return EnglishPrefix(m_eKind) + m_strDetail; }
};

using CRemoteNotes = QList<CRemoteNote>;
