#include "app/StatusPanes.h"

#include "engine/DDSDevice.h"
#include "i18n/LanguageManager.h"
#include "res/Resource.h"

#include <QDateTime>
#include <QLabel>
#include <QLayout>
#include <QStatusBar>

namespace {

/// Room the status bar keeps for its margins and size grip.
constexpr int kBarChrome = 24;

QString LanguageText(const CLanguageManager& language, int id) {
    return QString::fromUtf8(language.GetText(id).c_str());
}

/// A hidden pane placed before the clock.
QLabel* ExtraPane(QStatusBar* bar, const QString& name) {
    auto* pane = new QLabel(bar);
    pane->setObjectName(name);
    pane->setFrameShape(QFrame::Panel);
    pane->setFrameShadow(QFrame::Sunken);
    pane->hide();
    bar->insertWidget(2, pane);
    return pane;
}

/// Shows text in the pane, or hides the pane for none; the room it takes from the bar.
int ShowExtraPane(QStatusBar* bar, QLabel* pane, const QString& text) {
    pane->setText(text);
    pane->setVisible(!text.isEmpty());
    if (text.isEmpty())
        return 0;
    const int width = bar->fontMetrics().horizontalAdvance(text) + 10;
    pane->setFixedWidth(width);
    return width + (bar->layout() ? bar->layout()->spacing() : 0);
}

} // namespace

CStatusPanes::CStatusPanes(QStatusBar* bar, bool simulatedBank)
    : m_pBar(bar), m_bSimulatedBank(simulatedBank) {
    const int ids[3] = {ID_INDICATOR_STATE, ID_INDICATOR_SERIAL, ID_INDICATOR_CLOCK};
    // Until the first tick the panes are as wide as their blank placeholders.
    const int blanks[3] = {12, 2, 4};
    for (int i = 0; i < 3; ++i) {
        m_pPanes[i] = new QLabel(bar);
        m_pPanes[i]->setObjectName(QStringLiteral("pane%1").arg(i));
        m_pPanes[i]->setProperty("paneId", ids[i]);
        m_pPanes[i]->setFrameShape(QFrame::Panel);
        m_pPanes[i]->setFrameShadow(QFrame::Sunken);
        m_pPanes[i]->setFixedWidth(bar->fontMetrics().horizontalAdvance(QString(blanks[i], ' ')) +
                                   6);
        bar->addWidget(m_pPanes[i]);
    }
    // Before the clock, so the clock keeps the bar's right end.
    m_pSimulated = ExtraPane(bar, QStringLiteral("paneSimulated"));
    m_pRemote = ExtraPane(bar, QStringLiteral("paneRemote"));
}

void CStatusPanes::PaneWidths(int statusWidth, int clockWidth, int widths[3]) {
    widths[2] = clockWidth + 10;
    widths[0] = widths[1] = int((statusWidth - clockWidth - 10) * 0.5);
}

QString CStatusPanes::ClockText(const QDateTime& now) {
    const QDate date = now.date();
    const QTime time = now.time();
    return QString::asprintf("%02d.%02d.%4d  %02d:%02d    ", date.day(), date.month(), date.year(),
                             time.hour(), time.minute());
}

void CStatusPanes::Update(const CDDSDevice* device, const CLanguageManager& language) {
    m_nDots = m_nDots % 6 + 1;
    QString state = LanguageText(language, IDS_NO_ITEM);
    QString serial;
    QString simulated;
    if (device) {
        // Single reads of fields the worker writes.
        if (device->m_bDemo) {
            state = LanguageText(language, IDS_DEMO);
        } else if (device->m_bLost) {
            state = LanguageText(language, IDS_SEARCHING) + QString(m_nDots, '.');
            serial = LanguageText(language, IDS_SERIAL_NUMBER) + QStringLiteral(" : ...");
        } else {
            state = LanguageText(language, IDS_CONNECT);
            const int bits = (device->m_wDigitalIn >> 6) & 3;
            serial = LanguageText(language, IDS_SERIAL_NUMBER) + QStringLiteral(" : %1").arg(bits);
        }
        if (!device->m_bDemo && m_bSimulatedBank)
            simulated = LanguageText(language, IDS_SIMULATED);
    }
    // The local time is worked out once a second: each time it reads the zone file again.
    const qint64 second = QDateTime::currentSecsSinceEpoch();
    if (second != m_nClockSecond) {
        m_nClockSecond = second;
        m_strClock = ClockText(QDateTime::currentDateTime());
    }
    const QString& clock = m_strClock;
    // Most ticks change nothing the bar shows: then it is left alone.
    const QString shown = QStringList{state, serial, clock, simulated, m_strRemote}.join('\x1f') +
                          QString::number(m_pBar->contentsRect().width());
    if (shown == m_strShown)
        return;
    m_strShown = shown;
    m_pPanes[0]->setText(state);
    m_pPanes[1]->setText(serial);
    m_pPanes[2]->setText(clock);

    // The extra panes' room comes out of the two device panes' share.
    const int extraWidth = ShowExtraPane(m_pBar, m_pRemote, m_strRemote) +
                           ShowExtraPane(m_pBar, m_pSimulated, simulated);
    int widths[3];
    PaneWidths(m_pBar->contentsRect().width() - kBarChrome - extraWidth,
               m_pBar->fontMetrics().horizontalAdvance(clock), widths);
    for (int i = 0; i < 3; ++i)
        m_pPanes[i]->setFixedWidth(std::max(0, widths[i]));
}

void CStatusPanes::SetRemoteToolTip(const QString& text) {
    if (m_pRemote->toolTip() != text)
        m_pRemote->setToolTip(text);
}

QString CStatusPanes::Text(int pane) const {
    if (pane == 3 || pane == 4) {
        const QLabel* extra = pane == 3 ? m_pRemote : m_pSimulated;
        return extra->isVisibleTo(m_pBar) ? extra->text() : QString();
    }
    return pane >= 0 && pane < 3 ? m_pPanes[pane]->text() : QString();
}
