#pragma once
#include <QBasicTimer>
#include <QDialog>

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
    /// templateId keys the caption, groupId the group's title; the boxes are named prefix + k.
    CPinDlg(CDDSDevice& device, int templateId, int groupId, const QString& prefix, int pins,
            QWidget* parent);

    void timerEvent(QTimerEvent* event) override;
    /// Starts the polling timer; each dialog calls it once its boxes show the device.
    void StartTimer();

    CDDSDevice& m_device;
    std::vector<CPinButton*> m_pins;

private:
    QBasicTimer m_timer;
};
