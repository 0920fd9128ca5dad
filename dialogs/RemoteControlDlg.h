#pragma once
#include "i18n/SettingsFile.h"

#include <QDialog>
#include <QStringList>

#include <functional>

class CLanguageManager;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QTimer;

/// Utility > Remote Control...: whether the SCPI server runs, its port, listen address and the
/// clients it admits, the one folder its file commands reach, what a client can do, and the
/// clients connected now (asked again every half second while the dialog is open). OK takes the
/// setting into m_remote; a listen address that is not an IP address, or a folder that is not
/// an absolute path, is refused.
class CRemoteControlDlg : public QDialog {
    Q_OBJECT

public:
    CRemoteControlDlg(const CSettingsFile::Remote& remote, std::function<QStringList()> clients,
                      const CLanguageManager& language, QWidget* parent = nullptr);

    CSettingsFile::Remote m_remote; ///< The setting shown; after OK the one chosen.

    QCheckBox* Enable() const { return m_pEnable; }
    QSpinBox* Port() const { return m_pPort; }
    QLineEdit* Address() const { return m_pAddress; }
    QLineEdit* Allow() const { return m_pAllow; }
    QListWidget* Clients() const { return m_pClients; }
    QLineEdit* DataDir() const { return m_pDataDir; }

private:
    void OnOk();
    void RefreshClients();
    void OnBrowseDataDir();
    /// Warns with the language's text for id (english without one) and selects field.
    void Refuse(int id, const char* english, QLineEdit* field);

    const CLanguageManager& m_language;
    std::function<QStringList()> m_clients;
    QCheckBox* m_pEnable;
    QSpinBox* m_pPort;
    QLineEdit* m_pAddress;
    QLineEdit* m_pAllow;
    QLineEdit* m_pDataDir; ///< Empty: the default folder, shown greyed.
    QListWidget* m_pClients;
    QTimer* m_pRefresh;
};
