#pragma once
#include <QBasicTimer>
#include <QDialog>
#include <QSize>

#include <vector>

class CDDSDevice;
class CLanguageManager;
class CPinButton;

/// The common frame of the digital I/O dialogs: a titled group of pin boxes, six to a row, each
/// under its line's name, an OK button that hides the dialog, and a 300 ms timer that runs
/// from creation on, shown or hidden.
class CPinDlg : public QDialog {
    Q_OBJECT

public:
    void Retext(const CLanguageManager& language);
    /// One timer tick.
    virtual void OnTimer() = 0;

    CPinButton* Pin(int line) const { return m_pins[std::size_t(line)]; }

protected:
    /// One dialog's template.
    struct STemplate {
        int nTemplate;            ///< Keys the caption.
        int nGroup;               ///< Keys the group's title.
        const char* szGroupTitle; ///< The title where the language has none.
        const char* szPrefix;     ///< The boxes are named prefix + line.
        int nPins;
        QSize size; ///< Client area, dialog units.
    };
    CPinDlg(CDDSDevice& device, const STemplate& frame, QWidget* parent);

    void timerEvent(QTimerEvent* event) override;
    /// Starts the polling timer; each dialog calls it once its boxes show the device.
    void StartTimer();

    CDDSDevice& m_device;
    std::vector<CPinButton*> m_pins;

private:
    QBasicTimer m_timer;
    QSize m_size; ///< Client area, dialog units.
};
