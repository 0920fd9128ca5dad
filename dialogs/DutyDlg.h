#pragma once
#include "control/DeviceControl.h"

#include <QDialog>
#include <QSize>

class CLanguageManager;
class CNumEdit;
class CTurnButton;

/// Live editor of a wave's one duty (Square, Ramp): a field and a knob that follow each other.
/// Every change is stored in the device at once and downloaded, so the output follows the
/// dialog; Enter, Esc and the close box all close it and keep what was applied.
class CDutyDlg : public QDialog {
    Q_OBJECT

public:
    CNumEdit* DutyField() const { return m_pDuty; }
    CTurnButton* Knob() const { return m_pKnob; }

protected:
    /// Template, field and knob ids of one dialog.
    struct Ids {
        int nTemplate;
        int nDuty;
        int nKnob;
        const char* szRange; ///< The range's text where the language has none.
        QSize size;          ///< Client area, dialog units.
    };
    /// waveType: whose duty the dialog edits (Square or Ramp).
    CDutyDlg(CDeviceControl& control, int waveType, const Ids& ids,
             const CLanguageManager& language, QWidget* parent);

    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnDutyChanged();
    void OnKnobTurned();

    CDeviceControl& m_control;
    int m_nWaveType;
    CNumEdit* m_pDuty;
    CTurnButton* m_pKnob;
};
