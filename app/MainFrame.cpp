#include "app/MainFrame.h"

#include "app/ChildFrame.h"
#include "app/CmdUI.h"
#include "app/CommandTable.h"
#include "app/DeviceView.h"
#include "app/MultiDDSTarnApp.h"
#include "app/MultiDDSTarnDoc.h"
#include "app/RemoteControl.h"
#include "app/StatusPanes.h"
#include "app/TabRenameEdit.h"
#include "app/TabStrip.h"
#include "dialogs/DeviceListDlg.h"
#include "dialogs/HelpWindow.h"
#include "engine/hardware/DDSTarnDll.h"
#include "hwsim/DriverStatus.h"
#include "i18n/LanguageManager.h"
#include "i18n/ProgramPaths.h"
#include "i18n/SettingsFile.h"
#include "res/Resource.h"
#include "widgets/MenuEx.h"
#include "widgets/WindowTexts.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTranslator>

#include <cstdio>

namespace {

CMainFrame* s_pMainFrame = nullptr;

constexpr int kTimerInterval = 200;
constexpr int kMaxTooltip = 79;

/// The language named on the command line when there is one by that name, else saved.
int StartLanguage(const CLanguageManager& language, int saved) {
    CMultiDDSTarnApp* app = CMultiDDSTarnApp::Get();
    if (!app || app->m_strStartLanguage.isEmpty())
        return saved;
    const int index = language.FindLanguage(app->m_strStartLanguage.toStdString());
    if (index != CLanguageManager::kNoLanguage)
        return index;
    QString known = QString::fromUtf8(language.GetLanguageName(-1).c_str());
    for (int i = 0; i < language.GetLanguageCount(); ++i)
        known += QStringLiteral(", ") + QString::fromUtf8(language.GetLanguageName(i).c_str());
    std::fprintf(stderr,
                 "DDSTarnUSB: no language is called \"%s\" (there are: %s); "
                 "starting in the language last chosen.\n",
                 qPrintable(app->m_strStartLanguage), qPrintable(known));
    return saved;
}

} // namespace

// The icons live in a static library; their registration must be pulled in by name.
static void InitIcons() {
    Q_INIT_RESOURCE(icons);
}

CMainFrame::CMainFrame()
    : m_pLanguage(std::make_unique<CLanguageManager>()), m_pMenuEx(std::make_unique<CMenuEx>()) {
    s_pMainFrame = this;
    InitIcons();
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QString::fromLatin1(CMainFrame::kFrameTitle));
    setWindowIcon(QIcon(QStringLiteral(":/icons/new.svg")));
    resize(870, 600);
    setMinimumSize(300, 200);
    setAcceptDrops(true);
    // Fields take dropped text; a dropped file is for the window wherever it lands.
    qApp->installEventFilter(this);

    m_pMdiArea = new QMdiArea(this);
    m_pMdiArea->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(m_pMdiArea);
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);

    CreateActions();
    CreateStatusBar();
    CreateToolbars();
    CreateMenus();
    RebuildTabs();

    const CProgramPaths paths = CMultiDDSTarnApp::Paths();
    m_pLanguage->SetAppDir(paths.LanguageBase());
    m_pLanguage->SetMessageHandler([this](const std::string& text) {
        QMessageBox::warning(this, QString::fromLatin1(CMainFrame::kAppTitle),
                             QString::fromUtf8(text.c_str()));
    });
    const int saved = CSettingsFile(paths.PrepareSettingsFolder()).LoadLanguage();
    m_pLanguage->RefreshLanguageFiles();
    m_pLanguage->SelectLanguage(StartLanguage(*m_pLanguage, saved));

    m_nFoundDevices = DDSSearch();
    // The driver library has no window of its own: its refusal is told here, before the
    // first window's demo notice explains the consequence.
    if (const std::string problem = SimDriverProblem(); !problem.empty())
        QMessageBox::warning(nullptr, QString::fromLatin1(CMainFrame::kAppTitle),
                             GetText(IDS_DRIVER_UNUSABLE) + QStringLiteral("\n\n") +
                                 QString::fromLocal8Bit(problem.c_str()));
    m_pRemote = std::make_unique<CRemoteControl>(*this);

    m_pTimer = new QTimer(this);
    m_pTimer->setInterval(kTimerInterval);
    connect(m_pTimer, &QTimer::timeout, this, &CMainFrame::OnTimer);
    m_pTimer->start();
    // The first tick shows the window: no reason to keep the user waiting a whole interval.
    QTimer::singleShot(0, this, &CMainFrame::OnTimer);
}

CMainFrame::~CMainFrame() {
    m_pRemote.reset(); // no client reaches a device from here on
    SaveWindowPlace();
    CloseAllDocuments();
    CSettingsFile(CMultiDDSTarnApp::Paths().PrepareSettingsFolder())
        .SaveLanguage(m_pLanguage->GetCurrentLanguage());
    // The child widgets outlive this part of the object and still signal while they go.
    m_pTimer->stop();
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
    if (s_pMainFrame == this)
        s_pMainFrame = nullptr;
}

CMainFrame* CMainFrame::Get() {
    return s_pMainFrame;
}

QString CMainFrame::GetText(int id) const {
    return QString::fromUtf8(m_pLanguage->GetText(id).c_str());
}

CLanguageManager& CMainFrame::Language() {
    return *m_pLanguage;
}

const CLanguageManager& CMainFrame::Language() const {
    return *m_pLanguage;
}

void CMainFrame::ApplyToWindow(QWidget* root) {
    CWindowTexts::ApplyToWindow(root, *m_pLanguage);
}

// ---- Building -------------------------------------------------------------------------------

void CMainFrame::CreateActions() {
    auto make = [this](int id, const QString& text) {
        auto* action = new QAction(text, this);
        action->setData(id);
        action->setObjectName(QStringLiteral("action%1").arg(id));
        const QString icon = CCommandTable::IconPath(id);
        if (!icon.isEmpty())
            action->setIcon(QIcon(icon));
        action->setEnabled(!CCommandTable::IsInitiallyGrayed(id));
        connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        m_actions.insert(id, action);
        // The keys stand apart from the menu items, whose captions the language may change
        // without a shortcut hint.
        for (const QKeySequence& key : CCommandTable::Shortcuts(id)) {
            auto* shortcut = new QShortcut(key, this);
            connect(shortcut, &QShortcut::activated, this, [this, id] { OnAccelerator(id); });
        }
        return action;
    };
    for (const SMenuEntry& entry : CCommandTable::MainMenu())
        if (entry.nId > 0)
            make(entry.nId, QString::fromLatin1(entry.szCaption));
    make(ID_EDIT_COPY, QStringLiteral("Copy"));
    make(ID_TOOLBAR_UNUSED, QString());
    m_pCloseAction = make(ID_CLOSE_CURRENT_DEVICE, QStringLiteral("Close"));
}

void CMainFrame::CreateMenus() {
    m_pMenuBar = menuBar();
    m_pMenuBar->setObjectName(QStringLiteral("menuBar"));
    QList<QMenu*> parents;
    for (const SMenuEntry& entry : CCommandTable::MainMenu()) {
        while (parents.size() > entry.nLevel)
            parents.removeLast();
        const QString caption = QString::fromLatin1(entry.szCaption);
        if (entry.nId == CCommandTable::kDropDown) {
            QMenu* menu =
                entry.nLevel == 0 ? m_pMenuBar->addMenu(caption) : parents.last()->addMenu(caption);
            if (entry.nLevel == 0)
                m_topMenus.append(menu);
            if (caption == QLatin1String("Language")) {
                m_pLanguageMenu = menu;
                connect(menu, &QMenu::aboutToShow, this, &CMainFrame::OnLanguageMenuOpening);
            } else {
                connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenuItems(menu); });
            }
            if (caption == QLatin1String("&Window"))
                m_pWindowMenu = menu;
            parents.append(menu);
        } else if (entry.nId == CCommandTable::kSeparator) {
            parents.last()->addSeparator();
        } else {
            parents.last()->addAction(m_actions.value(entry.nId));
        }
    }
    connect(m_pWindowMenu, &QMenu::aboutToShow, this, &CMainFrame::ListWindows);
    for (QMenu* menu : m_topMenus)
        m_pMenuEx->Attach(menu);

    m_pTabMenu = new QMenu(this);
    m_pTabMenu->setObjectName(QStringLiteral("tabMenu"));
    m_pMenuEx->Attach(m_pTabMenu);
    struct STabItem {
        int nId;
        const char* szCaption;
    };
    const STabItem items[] = {{ID_TAB_CLOSE, "Close"},
                              {ID_TAB_RENAME, "Change Device Name"},
                              {CCommandTable::kSeparator, ""},
                              {ID_FILE_SAVE, "Save CSV File..."},
                              {ID_FILE_SAVE_AS, "Save CSV File As..."}};
    for (const STabItem& item : items) {
        if (item.nId == CCommandTable::kSeparator) {
            m_pTabMenu->addSeparator();
            continue;
        }
        QAction* action = m_pTabMenu->addAction(QString::fromLatin1(item.szCaption));
        action->setData(item.nId);
        action->setObjectName(QStringLiteral("tabAction%1").arg(item.nId));
        action->setProperty("caption", action->text());
        const int id = item.nId;
        connect(action, &QAction::triggered, this, [this, id] { OnTabMenuCommand(id); });
    }
}

void CMainFrame::CreateToolbars() {
    m_pMainBar = addToolBar(QStringLiteral("Standard"));
    m_pMainBar->setObjectName(QStringLiteral("mainToolbar"));
    m_pMainBar->setProperty("ctrlId", IDR_MAINTOOLBAR);
    m_pMainBar->setMovable(false);
    m_pMainBar->setIconSize(QSize(20, 20));
    for (int id : CCommandTable::MainToolbar()) {
        if (id == CCommandTable::kSeparator)
            m_pMainBar->addSeparator();
        else
            m_pMainBar->addAction(m_actions.value(id));
    }

    addToolBarBreak();
    m_pTabBar = addToolBar(QStringLiteral("Devices"));
    m_pTabBar->setObjectName(QStringLiteral("tabToolbar"));
    m_pTabBar->setProperty("ctrlId", IDR_TABBAR);
    m_pTabBar->setMovable(false);
    m_pTabBar->setIconSize(QSize(20, 20));
    // The tab strip keeps the width it was made with; the holder stretches so that the close
    // button always sits at the right edge.
    auto* holder = new QWidget(m_pTabBar);
    holder->setObjectName(QStringLiteral("tabHolder"));
    holder->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    holder->setMinimumWidth(0);
    m_pTabs = new CTabStrip(holder);
    m_nStripWidth = int(0.9 * width()) - 6;
    holder->setFixedHeight(QFontMetrics(m_pTabs->font()).height() + 14);
    holder->installEventFilter(this);
    m_pTabBar->addWidget(holder);
    m_pTabBar->addAction(m_pCloseAction);

    connect(m_pTabs, &CTabStrip::TabChosen, this, &CMainFrame::SelectAndActivateTab);
    connect(m_pTabs, &CTabStrip::MenuRequested, this, &CMainFrame::ShowTabMenu);
    connect(m_pTabs, &CTabStrip::RenameRequested, this, &CMainFrame::StartRename);
    connect(m_pTabs->RenameEdit(), &CTabRenameEdit::Commit, this, &CMainFrame::RenameDocument);
}

void CMainFrame::CreateStatusBar() {
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    m_pStatus = std::make_unique<CStatusPanes>(statusBar(), SimBankInUse());
}

void CMainFrame::AddLanguageItems() {
    for (int i = 0;
         i < m_pLanguage->GetLanguageCount() && ID_LANGUAGE_FIRST + i <= ID_LANGUAGE_LAST; ++i) {
        const int id = ID_LANGUAGE_FIRST + i;
        auto* action =
            new QAction(QString::fromUtf8(m_pLanguage->GetLanguageName(i).c_str()), this);
        action->setData(id);
        action->setObjectName(QStringLiteral("action%1").arg(id));
        connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        m_pLanguageMenu->addAction(action);
        m_languageActions.append(action);
        m_actions.insert(id, action);
    }
}

void CMainFrame::OnLanguageMenuOpening() {
    // Before the first tick the items do not exist yet; the first tick lists the files.
    if (!m_bFirstTick && m_pLanguage->RescanLanguageFiles()) {
        for (QAction* action : m_languageActions) {
            m_actions.remove(action->data().toInt());
            delete action;
        }
        m_languageActions.clear();
        AddLanguageItems();
        // The items' texts and perhaps the language itself (its file gone) changed.
        SetLanguage(m_pLanguage->GetCurrentLanguage());
    }
    UpdateMenuItems(m_pLanguageMenu);
}

// ---- Timer, status bar, title ---------------------------------------------------------------

void CMainFrame::OnTimer() {
    m_pStatus->SetRemoteText(m_pRemote ? m_pRemote->StatusText() : QString());
    m_pStatus->SetRemoteToolTip(m_pRemote ? m_pRemote->StatusToolTip() : QString());
    m_pStatus->Update(GetCurrentDocument() ? GetCurrentDocument()->m_pDevice : nullptr,
                      *m_pLanguage);
    // The first device's questions (Device List, demo notice) come before the window.
    if (m_bFirstTick && QApplication::activeModalWidget())
        return;
    if (m_bFirstTick) {
        m_bFirstTick = false;
        AddLanguageItems();
        SetLanguage(m_pLanguage->GetCurrentLanguage());
        ShowFirstTime();
    }
    if (m_documents.size() != m_nLastDocumentCount)
        RetextMenuBar();
    m_nLastDocumentCount = int(m_documents.size());
    UpdateToolbarButtons();
}

QString CMainFrame::PaneText(int pane) const {
    return m_pStatus->Text(pane);
}

void CMainFrame::RetextMenuBar() {
    // A language file older than the item leaves it English, not in the last language's words.
    if (QAction* remote = m_actions.value(ID_REMOTE_CONTROL))
        remote->setText(QStringLiteral("Remote Control..."));
    CWindowTexts::ApplyToMenu(m_pMenuBar, *m_pLanguage);
    update();
}

void CMainFrame::RetextToolbars() {
    for (QAction* action : m_pMainBar->actions()) {
        const int id = action->data().toInt();
        if (id > 0)
            action->setToolTip(GetText(id).left(kMaxTooltip));
        // A button without a caption is named by its tooltip for a screen reader.
        if (id == ID_TOOLBAR_UNUSED)
            action->setText(GetText(id).trimmed());
    }
    m_pCloseAction->setToolTip(GetText(ID_CLOSE_CURRENT_DEVICE).left(kMaxTooltip));
    // The arrow a toolbar shows when its buttons do not fit has no caption of its own.
    for (QToolBar* bar : {m_pMainBar, m_pTabBar})
        if (auto* more = bar->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button")))
            more->setAccessibleName(GetText(IDS_ACCESS_MORE_BUTTONS));
}

void CMainFrame::RetextTabMenu() {
    // The tab menu borrows the texts of the menu bar's items with the same meaning.
    const std::pair<int, int> keys[] = {{ID_TAB_CLOSE, 80001},
                                        {ID_TAB_RENAME, 137},
                                        {ID_FILE_SAVE, 80004},
                                        {ID_FILE_SAVE_AS, 80005}};
    // The built-in language keeps the menu's own, more telling English captions.
    const bool builtIn = m_pLanguage->GetCurrentLanguage() < 0;
    for (QAction* action : m_pTabMenu->actions()) {
        for (const auto& [id, key] : keys) {
            std::string text;
            if (action->data().toInt() != id)
                continue;
            if (builtIn)
                action->setText(action->property("caption").toString());
            else if (m_pLanguage->FindText(std::to_string(key), text))
                action->setText(QString::fromUtf8(text.c_str()).trimmed());
        }
    }
}

// ---- Commands -------------------------------------------------------------------------------

QAction* CMainFrame::Action(int id) const {
    return m_actions.value(id, nullptr);
}

CMultiDDSTarnDoc* CMainFrame::ActiveDocument() const {
    if (QMdiSubWindow* window = m_pMdiArea->currentSubWindow())
        if (auto* child = qobject_cast<CChildFrame*>(window); child && child->m_pDocument)
            return child->m_pDocument;
    return GetCurrentDocument();
}

void CMainFrame::RouteCommand(int id) {
    if (id == ID_LANGUAGE_DEFAULT || (id >= ID_LANGUAGE_FIRST && id <= ID_LANGUAGE_LAST)) {
        SetLanguage(id == ID_LANGUAGE_DEFAULT ? -1 : id - ID_LANGUAGE_FIRST);
        return;
    }
    if (CMultiDDSTarnDoc* doc = ActiveDocument()) {
        if (doc->m_pView && doc->m_pView->OnCommand(id))
            return;
        // The document may close itself here: nothing touches it afterwards.
        if (doc->OnCommand(id))
            return;
    }
    if (OnFrameCommand(id))
        return;
    if (CMultiDDSTarnApp* app = CMultiDDSTarnApp::Get())
        app->OnCommand(id);
}

void CMainFrame::OnAccelerator(int id) {
    CCmdUI ui(id);
    UpdateCommand(ui);
    if (ui.m_bEnabled)
        RouteCommand(id);
}

bool CMainFrame::OnFrameCommand(int id) {
    switch (id) {
    case ID_APP_EXIT:
        close();
        return true;
    case ID_WINDOW_CASCADE:
        CascadeWindows();
        return true;
    case ID_WINDOW_TILE:
        m_pMdiArea->tileSubWindows();
        return true;
    case ID_REMOTE_CONTROL:
        OnRemoteControl();
        return true;
    case ID_HELP_CONTENT:
        OnHelpContent();
        return true;
    default:
        return false;
    }
}

void CMainFrame::UpdateCommand(CCmdUI& ui) {
    ui.m_bEnabled = true;
    ui.m_bChecked = false;
    ui.m_bHandled = false;
    CMultiDDSTarnDoc* doc = ActiveDocument();
    if (doc) {
        if (doc->m_pView && doc->m_pView->OnUpdateCommand(ui))
            return;
        if (doc->OnUpdateCommand(ui))
            return;
    }
    if (OnFrameUpdate(ui))
        return;
    // No update rule: the item is enabled when something answers the command.
    const int id = ui.m_nID;
    if (CCommandTable::IsFrameCommand(id))
        ui.m_bEnabled = true;
    else if (CCommandTable::IsDeviceCommand(id))
        ui.m_bEnabled = doc != nullptr;
    else
        ui.m_bEnabled = false;
}

bool CMainFrame::OnFrameUpdate(CCmdUI& ui) {
    const int id = ui.m_nID;
    const int current = m_pLanguage->GetCurrentLanguage();
    if (id == ID_LANGUAGE_DEFAULT) {
        ui.SetCheck(current == -1);
        return true;
    }
    if (id >= ID_LANGUAGE_FIRST && id <= ID_LANGUAGE_CHECK_LAST) {
        ui.SetCheck(current == id - ID_LANGUAGE_FIRST);
        return true;
    }
    if (id > ID_LANGUAGE_CHECK_LAST && id <= ID_LANGUAGE_LAST) {
        ui.Enable(true);
        return true;
    }
    if (id == ID_WINDOW_CASCADE || id == ID_WINDOW_TILE) {
        ui.Enable(!m_pMdiArea->subWindowList().isEmpty());
        return true;
    }
    return false;
}

void CMainFrame::ApplyState(QAction* action) {
    const int id = action->data().toInt();
    if (id <= 0)
        return;
    CCmdUI ui(id);
    UpdateCommand(ui);
    action->setEnabled(ui.m_bEnabled);
    // Only a checked item shows a check mark; the others keep a plain icon column.
    action->setCheckable(ui.m_bChecked);
    action->setChecked(ui.m_bChecked);
}

void CMainFrame::UpdateMenuItems(QMenu* menu) {
    for (QAction* action : menu->actions())
        if (!action->isSeparator() && !action->menu())
            ApplyState(action);
}

void CMainFrame::UpdateToolbarButtons() {
    for (QAction* action : m_pMainBar->actions())
        ApplyState(action);
    ApplyState(m_pCloseAction);
}

bool CMainFrame::IsLanguageChecked(int id) const {
    QAction* action = m_actions.value(id, nullptr);
    return action && action->isChecked();
}

void CMainFrame::CascadeWindows() {
    // Each window two thirds of the area, one title bar lower and further right than the last
    // (the views are far larger than their size hints, which the stock cascade would use).
    const QList<QMdiSubWindow*> windows = m_pMdiArea->subWindowList();
    const QRect area = m_pMdiArea->viewport()->rect();
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight) + 4;
    const QSize size(std::max(200, area.width() * 2 / 3), std::max(150, area.height() * 2 / 3));
    int n = 0;
    for (QMdiSubWindow* window : windows) {
        window->showNormal();
        window->setGeometry(QRect(QPoint(n * step, n * step), size));
        window->raise();
        ++n;
    }
}

void CMainFrame::ListWindows() {
    for (QAction* action : m_windowActions)
        delete action;
    m_windowActions.clear();
    const QList<QMdiSubWindow*> windows = m_pMdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    m_windowActions.append(m_pWindowMenu->addSeparator());
    int n = 1;
    for (QMdiSubWindow* window : windows) {
        QAction* action =
            m_pWindowMenu->addAction(QStringLiteral("&%1 %2").arg(n++).arg(window->windowTitle()));
        action->setCheckable(true);
        action->setChecked(window == m_pMdiArea->currentSubWindow());
        connect(action, &QAction::triggered, this,
                [this, window] { m_pMdiArea->setActiveSubWindow(window); });
        m_windowActions.append(action);
    }
}

// ---- Language -------------------------------------------------------------------------------

void CMainFrame::SetLanguage(int index) {
    m_pLanguage->SelectLanguage(index);
    LoadQtTranslations();
    RetextMenuBar();
    RetextToolbars();
    RetextTabMenu();
    for (CMultiDDSTarnDoc* doc : m_documents)
        if (doc->m_pView)
            doc->RetextWindows();
    if (CHelpWindow* help = CHelpWindow::Instance())
        help->Retext(*m_pLanguage);
    RebuildTabs();
    UpdateFrameTitle();
    update();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (FilterFileDrop(watched, event))
        return true;
    // The strip keeps its width and follows the height of its holder on the toolbar.
    if (m_pTabs && watched == m_pTabs->parent() && event->type() == QEvent::Resize)
        m_pTabs->setGeometry(5, 0, m_nStripWidth, m_pTabs->parentWidget()->height());
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    CloseAllDocuments();
    event->accept();
}
