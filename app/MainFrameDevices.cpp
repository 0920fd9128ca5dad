#include "app/MainFrame.h"

#include "app/ChildFrame.h"
#include "app/DeviceView.h"
#include "app/MultiDDSTarnApp.h"
#include "app/MultiDDSTarnDoc.h"
#include "app/TabRenameEdit.h"
#include "app/TabStrip.h"
#include "dialogs/DeviceListDlg.h"
#include "hwsim/DriverStatus.h"
#include "res/Resource.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QToolBar>

// The main frame's list of open devices, their tabs, the tab menu and the frame title.
// ---- Device list and tabs -------------------------------------------------------------------

void CMainFrame::AddDocument(CMultiDDSTarnDoc* doc) {
    doc->m_nIndex = m_nDocumentsAdded;
    ++m_nDocumentsAdded;
    doc->AssignDefaultName(m_documents);
    m_documents.append(doc);
    RebuildTabs();
}

void CMainFrame::RemoveDocument(int index) {
    for (int i = 0; i < m_documents.size(); ++i) {
        if (m_documents[i]->m_nIndex == index) {
            m_documents.removeAt(i);
            break;
        }
    }
    RebuildTabs();
    // Once the closed window is gone, the device of the selected tab comes up maximised as
    // device windows open, instead of whatever state the area leaves the others in.
    const int keep = m_nCurrentTab;
    QMetaObject::invokeMethod(
        this,
        [this, keep] {
            if (!m_documents.isEmpty())
                SelectAndActivateTab(keep);
        },
        Qt::QueuedConnection);
}

CMultiDDSTarnDoc* CMainFrame::GetDocument(int i) const {
    if (m_documents.isEmpty())
        return nullptr;
    if (i < 0 || i >= m_documents.size())
        return m_documents.last();
    return m_documents[i];
}

CMultiDDSTarnDoc* CMainFrame::GetCurrentDocument() const {
    return GetDocument(m_nCurrentTab);
}

void CMainFrame::SelectTab(int i) {
    if (i < 0 || i >= m_documents.size())
        i = int(m_documents.size()) - 1;
    m_nCurrentTab = i;
    m_pTabs->SelectQuietly(i);
}

void CMainFrame::SelectAndActivateTab(int i) {
    SelectTab(i);
    if (CMultiDDSTarnDoc* doc = GetDocument(m_nCurrentTab))
        doc->Activate();
}

void CMainFrame::CloseDocumentAt(int i) {
    if (CMultiDDSTarnDoc* doc = GetDocument(i))
        doc->OnCloseDocument();
}

void CMainFrame::RenameDocument(int i, const QString& name) {
    if (i < 0 || i >= m_documents.size() || name.isEmpty())
        return;
    for (int k = 0; k < m_documents.size(); ++k)
        if (k != i && m_documents[k]->m_strDeviceName.compare(name, Qt::CaseInsensitive) == 0)
            return;
    CMultiDDSTarnDoc* doc = m_documents[i];
    doc->m_strDeviceName = name;
    doc->SetTitle(name);
    RebuildTabs();
    UpdateFrameTitle();
    update();
}

void CMainFrame::RebuildTabs() {
    const int n = int(m_documents.size());
    if (n == 0) {
        m_pTabBar->hide();
        UpdateFrameTitle();
        return;
    }
    m_pTabBar->show();
    m_pTabs->blockSignals(true);
    while (m_pTabs->count() > 0)
        m_pTabs->removeTab(m_pTabs->count() - 1);
    for (int i = 0; i < n; ++i) {
        m_pTabs->insertTab(i, m_documents[i]->m_strDeviceName);
        m_documents[i]->m_nIndex = i;
    }
    m_pTabs->blockSignals(false);
    if (m_nCurrentTab >= n)
        m_nCurrentTab = n - 1;
    m_pTabs->SelectQuietly(m_nCurrentTab);
    RetextMenuBar();
    UpdateFrameTitle();
}

void CMainFrame::StartRename() {
    const int i = m_pTabs->currentIndex();
    if (i < 0 || i >= m_documents.size())
        return;
    CMultiDDSTarnDoc* doc = m_documents[i];
    // From now on the automatic name is never reassigned, even if nothing is typed.
    doc->m_bUserNamed = 1;
    m_pTabs->StartRename(i, doc->GetTitle());
}

void CMainFrame::ShowTabMenu(const QPoint& globalPos) {
    if (m_documents.isEmpty())
        return;
    m_pTabMenu->popup(globalPos);
}

void CMainFrame::OnTabMenuCommand(int id) {
    const int i = m_pTabs->currentIndex();
    switch (id) {
    case ID_TAB_CLOSE:
        CloseDocumentAt(i);
        break;
    case ID_TAB_RENAME:
        StartRename();
        break;
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
        if (CMultiDDSTarnDoc* doc = GetDocument(i))
            doc->SaveCsv(id == ID_FILE_SAVE_AS ? 1 : 0);
        break;
    default:
        break;
    }
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window) {
    UpdateFrameTitle();
    auto* child = qobject_cast<CChildFrame*>(window);
    if (!child || !child->m_pDocument)
        return;
    CMultiDDSTarnDoc* doc = child->m_pDocument;
    if (doc->m_pView)
        doc->m_pView->ActivateView();
    SelectTab(doc->m_nIndex);
}

CDDSDevice::BindContext CMainFrame::MakeBindContext(QWidget* parent) {
    CDDSDevice::BindContext context;
    context.foundDevices = m_nFoundDevices;
    for (const CMultiDDSTarnDoc* doc : m_documents)
        if (doc->m_pDevice && !doc->m_pDevice->m_bDemo && doc->m_pDevice->m_nDevice >= 0)
            context.usedIndices.push_back(doc->m_pDevice->m_nDevice);
    // Before the main window shows, the questions stand alone in the middle of the screen.
    QWidget* owner = isVisible() ? (parent ? parent : this) : nullptr;
    context.chooseDevice = [this, owner](const std::vector<int>& freeIndices) {
        CDeviceListDlg dialog(freeIndices, *m_pLanguage, owner, SimBankInUse());
        return dialog.exec() == QDialog::Accepted ? dialog.m_nResult : -1;
    };
    context.showDemoMessage = [this, owner] {
        QMessageBox::information(owner, QString::fromLatin1(CMainFrame::kAppTitle),
                                 GetText(IDS_DEMO_MODE));
    };
    return context;
}

CMultiDDSTarnDoc* CMainFrame::NewDocument() {
    CMultiDDSTarnApp* app = CMultiDDSTarnApp::Get();
    return app ? app->OpenNewDocument() : nullptr;
}

void CMainFrame::CloseAllDocuments() {
    while (!m_documents.isEmpty()) {
        CMultiDDSTarnDoc* doc = m_documents.last();
        const qsizetype before = m_documents.size();
        doc->OnCloseDocument();
        if (m_documents.size() == before) // its index went stale: take it out anyway
            m_documents.removeAll(doc);
    }
    // Devices whose view never joined the list still have a window.
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList())
        if (auto* child = qobject_cast<CChildFrame*>(window); child && child->m_pDocument)
            child->m_pDocument->OnCloseDocument();
}
