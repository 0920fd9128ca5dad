#pragma once
#include "engine/SweepRules.h"

#include <QBasicTimer>
#include <QDialog>

#include <array>

class CDDSDevice;
class CDeviceControl;
class CLanguageManager;
class CLED;
class CTurnButton;
class QLineEdit;
class QPushButton;

/// Steps the frequency of one device from a start to an end frequency, one step per timer
/// tick, and starts over after the end. Stopping (the button, the close box or Esc) returns
/// the output to the frequency last entered on the control panel.
class CSweepDlg : public QDialog {
    Q_OBJECT

public:
    /// When the sweep stops the output returns to the control's last frequency entered.
    CSweepDlg(CDeviceControl& control, const CLanguageManager& language, QWidget* parent = nullptr);
    ~CSweepDlg() override;

    /// Puts the language's texts on the dialog; the button keeps saying what it does now.
    void Retext(const CLanguageManager& language);

    /// One timer tick: the fields follow the record, then one sweep step.
    void OnTimer();
    void OnOnOff();
    bool IsTimerActive() const { return m_timer.isActive(); }

    QLineEdit* Edit(CSweepRules::Field field) const { return m_edits[field]; }
    CTurnButton* Knob(CSweepRules::Field field) const { return m_knobs[field]; }
    QPushButton* OnOffButton() const { return m_pOnOff; }
    CLED* Led() const { return m_pLed; }

public slots:
    void reject() override; ///< Close box and Esc: stop the sweep first.

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void OnEditChanged(CSweepRules::Field field);
    void OnKnob(CSweepRules::Field field);
    /// Writes a value into an edit without storing it again.
    void ShowValue(CSweepRules::Field field, double value);
    void ShowFields();
    void ApplyState();
    void ShowButtonText();

    CDeviceControl& m_control;
    CDDSDevice& m_device;
    const CLanguageManager* m_pLanguage;
    std::array<QLineEdit*, 4> m_edits{};
    std::array<CTurnButton*, 4> m_knobs{};
    QPushButton* m_pOnOff;
    CLED* m_pLed;
    QBasicTimer m_timer;
    /// Set while the dialog writes an edit, whose change must not be stored a second time.
    bool m_bShowing = false;

    /// Angle each knob was last seen at, kept for the whole program.
    static std::array<double, 4> s_dKnobAngles;
};
