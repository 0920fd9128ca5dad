// The main window itself: its title, its place on the screen between runs, Qt's own texts in
// the chosen language and the manual.
#include "app/MainFrame.h"

#include "app/MultiDDSTarnApp.h"
#include "app/MultiDDSTarnDoc.h"
#include "dialogs/HelpWindow.h"
#include "i18n/LanguageManager.h"
#include "i18n/ProgramPaths.h"
#include "i18n/SettingsFile.h"
#include "res/Resource.h"

#include <QApplication>
#include <QLayout>
#include <QLibraryInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QTranslator>

#include <algorithm>

namespace {

/// How long a window manager takes to frame a new window.
constexpr int kFrameSettleMs = 300;

CSettingsFile Settings() {
    return CSettingsFile(CMultiDDSTarnApp::Paths().PrepareSettingsFolder());
}

} // namespace

// ---- Title --------------------------------------------------------------------------------

QString CMainFrame::FrameTitle() const {
    QString title = QString::fromLatin1(CMainFrame::kFrameTitle);
    if (m_documents.isEmpty())
        return title;
    QString name;
    if (const QMdiSubWindow* window = m_pMdiArea->currentSubWindow())
        name = window->windowTitle();
    if (name.isEmpty())
        if (const CMultiDDSTarnDoc* doc = GetCurrentDocument())
            name = doc->GetTitle();
    if (!name.isEmpty())
        title += QStringLiteral(" - [") + name + QLatin1Char(']');
    return title;
}

void CMainFrame::UpdateFrameTitle() {
    const QString title = FrameTitle();
    if (windowTitle() == title)
        return;
    m_bSettingTitle = true;
    setWindowTitle(title);
    m_bSettingTitle = false;
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // The MDI area writes the title of a maximised window its own way, and restores an older
    // one when the window is restored: ours stands.
    if (event->type() == QEvent::WindowTitleChange && !m_bSettingTitle)
        UpdateFrameTitle();
}

// ---- Place on the screen ------------------------------------------------------------------

QRect CMainFrame::FitIntoScreen(const QRect& wanted, const QRect& available,
                                const QMargins& frame) {
    const QRect room = available.marginsRemoved(frame);
    QRect place(wanted.topLeft(), wanted.size().boundedTo(room.size()));
    place.moveLeft(std::clamp(place.left(), room.left(), room.right() - place.width() + 1));
    place.moveTop(std::clamp(place.top(), room.top(), room.bottom() - place.height() + 1));
    return place;
}

void CMainFrame::FitToScreen() {
    QScreen* screen = this->screen();
    if (!screen || isMaximized() || isFullScreen())
        return;
    QMargins frame(geometry().left() - frameGeometry().left(),
                   geometry().top() - frameGeometry().top(),
                   frameGeometry().right() - geometry().right(),
                   frameGeometry().bottom() - geometry().bottom());
    // Before the window manager has framed the window: room for a title bar and borders.
    if (frame.isNull()) {
        const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
        frame = QMargins(border, style()->pixelMetric(QStyle::PM_TitleBarHeight) + border, border,
                         border);
    }
    const QRect place = FitIntoScreen(geometry(), screen->availableGeometry(), frame);
    if (place != geometry())
        setGeometry(place);
}

void CMainFrame::GrowToShowDevice() {
    // The device view's minimum holds the whole panel in this platform's font; the window's
    // own bars take what they take here. The described size grows by what is missing.
    const QMdiSubWindow* window = m_pMdiArea->currentSubWindow();
    if (!window || !window->widget())
        return;
    const QScrollArea* scroll = qobject_cast<const QScrollArea*>(window->widget());
    const QWidget* view = scroll ? scroll->widget() : window->widget();
    if (!view)
        return;
    // Before the window is shown only the layout's own geometry is current, not the area's
    // viewport.
    if (layout())
        layout()->activate();
    const int frame = m_pMdiArea->frameWidth();
    const QSize area = m_pMdiArea->geometry().size() - QSize(2 * frame, 2 * frame);
    const QSize missing = (view->minimumSize() - area).expandedTo(QSize(0, 0));
    if (missing.width() > 0 || missing.height() > 0)
        resize(size() + missing);
}

void CMainFrame::ShowFirstTime() {
    const CSettingsFile::Window stored = Settings().LoadWindow();
    if (!stored.bValid)
        GrowToShowDevice();
    QScreen* screen = this->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    QRect place = stored.bValid ? QRect(stored.nLeft, stored.nTop, stored.nWidth, stored.nHeight)
                                : QRect(QPoint(0, 0), size());
    // A stored place on a screen no longer there is centred like a first start.
    if (!stored.bValid || (screen && !available.intersects(place)))
        place.moveCenter(available.isValid() ? available.center() : place.center());
    setGeometry(place);
    FitToScreen();
    if (stored.bValid && stored.bMaximized)
        showMaximized();
    else
        showNormal();
    // Once the window manager has put its frame round the window, that frame fits as well;
    // a window moved or sized meanwhile stays where it was put.
    const QRect shown = geometry();
    QTimer::singleShot(kFrameSettleMs, this, [this, shown] {
        if (geometry() == shown)
            FitToScreen();
    });
}

void CMainFrame::SaveWindowPlace() const {
    if (m_bFirstTick)
        return; // never shown: nothing to keep
    const QRect normal = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
    CSettingsFile::Window window;
    window.nLeft = normal.left();
    window.nTop = normal.top();
    window.nWidth = normal.width();
    window.nHeight = normal.height();
    window.bMaximized = isMaximized();
    Settings().SaveWindow(window);
}

// ---- Qt's texts and the manual ------------------------------------------------------------

void CMainFrame::LoadQtTranslations() {
    // The language file names the locale of Qt's own translations; English has none.
    std::string locale;
    if (!m_pLanguage->FindText(std::to_string(IDS_QT_LOCALE), locale))
        locale.clear();
    const QString name = QString::fromUtf8(locale.c_str()).trimmed();
    if (m_pQtTranslator) {
        QCoreApplication::removeTranslator(m_pQtTranslator.get());
        m_pQtTranslator.reset();
    }
    bool loaded = false;
    if (!name.isEmpty() && name != QLatin1String("en")) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(QStringLiteral("qt_") + name,
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(translator.get());
            m_pQtTranslator = std::move(translator);
            loaded = true;
        }
    }
    // A desktop's own dialogs speak the desktop's language: Qt's speak the program's.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, loaded);
}

void CMainFrame::OnHelpContent() {
    CMultiDDSTarnApp* app = CMultiDDSTarnApp::Get();
    if (!app)
        return;
    // A missing manual is not reported: Open does nothing for an empty path.
    CHelpWindow::Open(CHelpWindow::FindManual(app->m_strProgramFolder), *m_pLanguage, this);
}
