#pragma once
#include <QString>

class CDDSDevice;
class CLanguageManager;
class QDateTime;
class QLabel;
class QStatusBar;

/// The main window's status panes: the current device's state ("Demo", "Connect",
/// "Searching for hardware" with 1 to 6 dots, "No Item"), its serial-number bits, the clock,
/// and before the clock, only while the SCPI server listens, "SCPI :5025" (pane 3), and only
/// while a connected device is one of the simulated bank's units, "Simulated generator" (pane 4).
class CStatusPanes {
public:
    /// Adds the panes to the bar (ids 61446, 61448, 61447 in that order). simulatedBank: the
    /// generators found are simulated units, not hardware.
    CStatusPanes(QStatusBar* bar, bool simulatedBank);

    /// One 200 ms tick: texts from the device (none: no device) and widths from the bar.
    void Update(const CDDSDevice* device, const CLanguageManager& language);
    QString Text(int pane) const;
    /// The remote pane's text from the next tick on; empty hides the pane.
    void SetRemoteText(const QString& text) { m_strRemote = text; }
    /// The remote pane's tooltip (VXI-11 and DNS-SD beside the raw socket).
    void SetRemoteToolTip(const QString& text);

    /// Pane widths from the bar's width and the clock text's width: the clock gets its text
    /// plus 10 pixels, the other two share the rest, truncated.
    static void PaneWidths(int statusWidth, int clockWidth, int widths[3]);
    /// "%02d.%02d.%4d  %02d:%02d    " of day, month, year, hour, minute.
    static QString ClockText(const QDateTime& now);

private:
    QStatusBar* m_pBar;
    QLabel* m_pPanes[3] = {};
    QLabel* m_pRemote = nullptr;
    QLabel* m_pSimulated = nullptr;
    bool m_bSimulatedBank;
    QString m_strRemote;
    QString m_strShown;         ///< Everything the last update put on the bar, and the bar's width.
    qint64 m_nClockSecond = -1; ///< The second m_strClock was made in.
    QString m_strClock;
    int m_nDots = 0; ///< Dots after "Searching for hardware", 1 to 6, one more per tick.
};
