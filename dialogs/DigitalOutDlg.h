#pragma once
#include <QBasicTimer>
#include <QDialog>

#include <array>

class CDDSDevice;
class CLanguageManager;
class CPinButton;

/// Sets the twelve digital output lines by hand. Once created it keeps writing its boxes into
/// the device's output word every 300 ms, shown or hidden; OK and the close box only hide it.
class CDigitalOutDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPins = 12;

    CDigitalOutDlg(CDDSDevice& device, const CLanguageManager& language, QWidget* parent = nullptr);

    void Retext(const CLanguageManager& language);
    /// One tick: the boxes become the output word (lines 12 to 15 low).
    void OnTimer();

    CPinButton* Pin(int line) const { return m_pins[line]; }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    CDDSDevice& m_device;
    std::array<CPinButton*, kPins> m_pins{};
    QBasicTimer m_timer;
};
