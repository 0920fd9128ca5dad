#pragma once
#include "engine/DDSDevice.h"

#include <QList>
#include <QMainWindow>
#include <QMap>
#include <QString>

#include <memory>

class CCmdUI;
class CLanguageManager;
class CMenuEx;
class CRemoteControl;
class CStatusPanes;
class CMultiDDSTarnDoc;
class CTabStrip;
class QAction;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QMimeData;
class QTimer;
class QToolBar;
class QTranslator;

/// The main window: MDI area for the device windows, the two toolbars (the second one holds the
/// device tab strip), the status bar, the menu bars, the language manager and the device list.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    CMainFrame();
    ~CMainFrame() override;

    static constexpr const char* kFrameTitle = "DDS-Tarn USB (3.2.2.8)";
    static constexpr const char* kVersion = "3.2.2.8";       ///< As the title shows it.
    static constexpr const char* kAppTitle = "DDS-Tarn USB"; ///< Title of message boxes.

    /// The one main frame of the program (null before it is created and after it is gone).
    static CMainFrame* Get();

    QString GetText(int id) const;
    CLanguageManager& Language();
    const CLanguageManager& Language() const;
    void ApplyToWindow(QWidget* root);

    int m_nFoundDevices = 0;
    QList<CMultiDDSTarnDoc*> m_documents; ///< Open documents in tab order.
    int m_nCurrentTab = 0;
    int m_nDocumentsAdded = 0;

    void AddDocument(CMultiDDSTarnDoc* doc);
    void RemoveDocument(int index);
    CMultiDDSTarnDoc* GetDocument(int i) const;
    CMultiDDSTarnDoc* GetCurrentDocument() const;
    void SelectTab(int i);
    void SelectAndActivateTab(int i);
    void CloseDocumentAt(int i);
    void RenameDocument(int i, const QString& name);
    void RebuildTabs();
    void StartRename(); ///< In-place rename of the selected tab.

    void SetLanguage(int index);
    void RetextMenuBar();
    CDDSDevice::BindContext MakeBindContext(QWidget* parent);
    CMultiDDSTarnDoc* NewDocument();

    /// Routes a command: active view, its document, then the frame and the application.
    void RouteCommand(int id);
    /// Decides an item's state in the same order.
    void UpdateCommand(CCmdUI& ui);
    QAction* Action(int id) const; ///< The menu/toolbar action of a command id.
    QMdiArea* MdiArea() const { return m_pMdiArea; }
    /// The document of the active device window (commands go there), else the current tab's.
    CMultiDDSTarnDoc* ActiveDocument() const;
    /// Status pane texts, as the last timer tick left them.
    QString PaneText(int pane) const;
    /// One 200 ms tick: status bar, first-tick showing, menu re-texting.
    void OnTimer();
    CRemoteControl& Remote() { return *m_pRemote; }
    /// Reads the remote setting and runs the server as it says, enabled on `scpiPort` instead
    /// when that is given (the command line's --scpi, which the saved setting never learns),
    /// and with dataDir as its waveform folder when given (--data-dir, for this run only).
    void StartRemote(int scpiPort = 0, const QString& dataDir = {});
    /// Utility > Remote Control...
    void OnRemoteControl();
    /// The local files among a drag's URLs, in their order.
    static QStringList DroppedFiles(const QMimeData* data);
    /// Takes a drag of files aimed at any control of this window as a drop on the window.
    bool FilterFileDrop(QObject* watched, QEvent* event);
    /// Closes every device (exit path).
    void CloseAllDocuments();
    QMenu* TabMenu() const { return m_pTabMenu; }
    CTabStrip* TabStrip() const { return m_pTabs; }
    QToolBar* TabBar() const { return m_pTabBar; }
    bool IsLanguageChecked(int id) const;
    /// The title in one form whatever the device windows' state: the plain title, and
    /// " - [name]" with the active device's name while a device is open.
    QString FrameTitle() const;
    void UpdateFrameTitle();
    /// Help > Help Content and F1: the manual, also with no device open.
    void OnHelpContent();
    /// Loads Qt's own translations (standard dialogs, context menus) for the current language.
    void LoadQtTranslations();
    /// Where a window of `wanted` size and place (frame excluded) goes so that it and its frame
    /// (`frame` around it) lie inside `available`: shrunk to fit, then moved in.
    static QRect FitIntoScreen(const QRect& wanted, const QRect& available, const QMargins& frame);

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// Files dropped on the window open as CSV files, one new device window each.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    /// The first tick's showing: the stored place and state, else centred; inside the screen.
    void ShowFirstTime();
    /// Makes the window large enough for the current device's whole panel.
    void GrowToShowDevice();
    /// Moves and shrinks the window into its screen's available area.
    void FitToScreen();
    void SaveWindowPlace() const;
    void CreateActions();
    void CreateMenus();
    void CreateToolbars();
    void CreateStatusBar();
    void AddLanguageItems();
    /// Lists the language folder again; new or removed files change the items at once.
    void OnLanguageMenuOpening();
    void UpdateMenuItems(QMenu* menu);
    void UpdateToolbarButtons();
    void ApplyState(QAction* action);
    void ListWindows();
    void CascadeWindows();
    void OnTabMenuCommand(int id);
    void RetextToolbars();
    void RetextTabMenu();
    void OnSubWindowActivated(QMdiSubWindow* window);
    void ShowTabMenu(const QPoint& globalPos);
    /// A key of the accelerator table: the command runs when its update rule enables it.
    void OnAccelerator(int id);
    bool OnFrameCommand(int id);
    bool OnFrameUpdate(CCmdUI& ui);

    std::unique_ptr<CLanguageManager> m_pLanguage;
    std::unique_ptr<CMenuEx> m_pMenuEx; ///< The look of every drop-down, the tab menu's too.
    QMdiArea* m_pMdiArea = nullptr;
    QMap<int, QAction*> m_actions;
    QMenuBar* m_pMenuBar = nullptr;
    QList<QMenu*> m_topMenus; ///< Top-level menus in their bar order (position keys).
    QMenu* m_pLanguageMenu = nullptr;
    QList<QAction*> m_languageActions;
    QMenu* m_pWindowMenu = nullptr;
    QList<QAction*> m_windowActions; ///< The open-window list under Window.
    QToolBar* m_pMainBar = nullptr;
    QToolBar* m_pTabBar = nullptr;
    CTabStrip* m_pTabs = nullptr;
    int m_nStripWidth = 0; ///< Width of the tab strip, fixed when it is made.
    QAction* m_pCloseAction = nullptr;
    QMenu* m_pTabMenu = nullptr;
    std::unique_ptr<CStatusPanes> m_pStatus;
    std::unique_ptr<CRemoteControl> m_pRemote;
    QTimer* m_pTimer = nullptr;
    bool m_bFirstTick = true;
    bool m_bSettingTitle = false;
    std::unique_ptr<QTranslator> m_pQtTranslator; ///< Qt's own texts in the current language.
    int m_nLastDocumentCount = -1;
};
