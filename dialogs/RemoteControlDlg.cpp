#include "dialogs/RemoteControlDlg.h"

#include "i18n/LanguageManager.h"
#include "res/Resource.h"
#include "widgets/WindowTexts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kRefreshInterval = 500; // ms

QLabel* Caption(int id, const char* english, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(english), parent);
    label->setProperty("ctrlId", id);
    return label;
}

} // namespace

CRemoteControlDlg::CRemoteControlDlg(const CSettingsFile::Remote& remote,
                                     std::function<QStringList()> clients,
                                     const CLanguageManager& language, QWidget* parent)
    : QDialog(parent), m_remote(remote), m_language(language), m_clients(std::move(clients)),
      m_pEnable(new QCheckBox(QStringLiteral("Enable remote control (SCPI over TCP)"), this)),
      m_pPort(new QSpinBox(this)), m_pAddress(new QLineEdit(this)), m_pAllow(new QLineEdit(this)),
      m_pDataDir(new QLineEdit(this)), m_pClients(new QListWidget(this)),
      m_pRefresh(new QTimer(this)) {
    m_pEnable->setProperty("ctrlId", IDC_REMOTE_ENABLE);
    m_pEnable->setChecked(remote.bEnabled);
    m_pPort->setProperty("ctrlId", IDC_REMOTE_PORT);
    m_pPort->setRange(1, 65535);
    m_pPort->setValue(remote.nPort);
    m_pAddress->setProperty("ctrlId", IDC_REMOTE_ADDRESS);
    m_pAddress->setText(QString::fromStdString(remote.strAddress));
    m_pDataDir->setProperty("ctrlId", IDC_REMOTE_DATA_DIR);
    m_pDataDir->setText(QFile::decodeName(remote.strDataDir.c_str()));
    m_pDataDir->setPlaceholderText(QFile::decodeName(CSettingsFile::DefaultDataDir().c_str()));
    m_pDataDir->setToolTip(m_pDataDir->placeholderText()); // the default, even when cut short
    m_pAllow->setProperty("ctrlId", IDC_REMOTE_ALLOW);
    m_pAllow->setText(QString::fromStdString(remote.strAllow));
    m_pAllow->setPlaceholderText(QStringLiteral("192.168.1.0/24, 10.0.0.7"));
    m_pClients->setProperty("ctrlId", IDC_REMOTE_CLIENTS);
    m_pClients->setSelectionMode(QAbstractItemView::NoSelection);

    QLabel* warning = Caption(IDC_REMOTE_WARNING,
                              "Any address other than 127.0.0.1 needs the clients allowed: "
                              "addresses or prefixes such as 192.168.1.0/24, separated by "
                              "commas.",
                              this);
    warning->setWordWrap(true);
    QLabel* reach = Caption(IDC_REMOTE_REACH,
                            "A client that may connect can drive every generator and read, "
                            "write, list and delete files in the waveform folder. It cannot "
                            "reach any other file, run programs or change this setting.",
                            this);
    reach->setWordWrap(true);
    auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
    browse->setProperty("ctrlId", IDC_REMOTE_DATA_BROWSE);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(m_pDataDir, 1);
    folderRow->addWidget(browse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setProperty("ctrlId", IDC_DLG_OK);
    buttons->button(QDialogButtonBox::Cancel)->setProperty("ctrlId", IDC_DLG_CANCEL);

    auto* form = new QFormLayout;
    form->addRow(Caption(IDC_TXT_REMOTE_PORT, "Port:", this), m_pPort);
    form->addRow(Caption(IDC_TXT_REMOTE_ADDRESS, "Listen address:", this), m_pAddress);
    form->addRow(Caption(IDC_TXT_REMOTE_ALLOW, "Allowed clients:", this), m_pAllow);
    form->addRow(Caption(IDC_TXT_REMOTE_DATA_DIR, "Waveform folder:", this), folderRow);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pEnable);
    layout->addLayout(form);
    layout->addWidget(warning);
    layout->addWidget(reach);
    layout->addWidget(Caption(IDC_TXT_REMOTE_CLIENTS, "Connected clients:", this));
    layout->addWidget(m_pClients);
    layout->addWidget(buttons);
    resize(520, 400);

    // Controls without a text in the language keep their English one; so does the caption.
    CWindowTexts::ApplyToWindow(this, language);
    const std::string title = language.GetText(IDD_REMOTE_CONTROL);
    setWindowTitle(title.empty() ? QStringLiteral("Remote Control")
                                 : QString::fromUtf8(title.c_str()));

    connect(buttons, &QDialogButtonBox::accepted, this, &CRemoteControlDlg::OnOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse, &QPushButton::clicked, this, &CRemoteControlDlg::OnBrowseDataDir);
    connect(m_pRefresh, &QTimer::timeout, this, &CRemoteControlDlg::RefreshClients);
    m_pRefresh->start(kRefreshInterval);
    RefreshClients();
}

void CRemoteControlDlg::RefreshClients() {
    const QStringList now = m_clients ? m_clients() : QStringList();
    QStringList shown;
    for (int i = 0; i < m_pClients->count(); ++i)
        shown << m_pClients->item(i)->text();
    if (now == shown)
        return;
    m_pClients->clear();
    m_pClients->addItems(now);
}

void CRemoteControlDlg::OnBrowseDataDir() {
    const QString start =
        m_pDataDir->text().isEmpty() ? m_pDataDir->placeholderText() : m_pDataDir->text();
    const QString folder = QFileDialog::getExistingDirectory(this, QString(), start);
    if (!folder.isEmpty())
        m_pDataDir->setText(folder);
}

void CRemoteControlDlg::Refuse(int id, const char* english, QLineEdit* field) {
    const std::string text = m_language.GetText(id);
    QMessageBox::warning(this, windowTitle(),
                         text.empty() ? QString::fromLatin1(english)
                                      : QString::fromUtf8(text.c_str()));
    field->setFocus();
    field->selectAll();
}

void CRemoteControlDlg::OnOk() {
    const std::string address = m_pAddress->text().trimmed().toStdString();
    if (!CSettingsFile::IsAddress(address)) {
        Refuse(IDS_ADDRESS_REQUIRED, "Please enter an IP address such as 127.0.0.1.", m_pAddress);
        return;
    }
    const QString folder = m_pDataDir->text().trimmed();
    if (!folder.isEmpty() && !QDir::isAbsolutePath(folder)) {
        Refuse(IDS_DATA_DIR_REQUIRED,
               "Please enter the waveform folder as an absolute path, or leave it empty for the "
               "default.",
               m_pDataDir);
        return;
    }
    m_remote.bEnabled = m_pEnable->isChecked();
    m_remote.nPort = m_pPort->value();
    m_remote.strAddress = address;
    m_remote.strDataDir =
        folder.isEmpty() ? std::string() : QFile::encodeName(QDir::cleanPath(folder)).toStdString();
    m_remote.strAllow = m_pAllow->text().trimmed().toStdString();
    accept();
}
