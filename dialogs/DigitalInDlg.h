#pragma once
#include <QBasicTimer>
#include <QDialog>

#include <array>

class CDDSDevice;
class CLanguageManager;
class CPinButton;

/// Shows the six digital input lines of a device, polled every 300 ms while the dialog exists.
class CDigitalInDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPins = 6;

    CDigitalInDlg(CDDSDevice& device, const CLanguageManager& language, QWidget* parent = nullptr);

    void Retext(const CLanguageManager& language);
    /// One tick: the boxes are set again only when the input lines changed.
    void OnTimer();

    CPinButton* Pin(int line) const { return m_pins[line]; }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void ShowLines(int lines);

    CDDSDevice& m_device;
    std::array<CPinButton*, kPins> m_pins{};
    QBasicTimer m_timer;
    /// Input lines last shown; starts out of range so the first tick always shows them.
    int m_nLastShown = 0x0FFF;
};
