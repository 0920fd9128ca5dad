#pragma once
#include "dialogs/DutyDlg.h"

/// Live editor of the ramp wave's duty.
class CRampDlg : public CDutyDlg {
    Q_OBJECT

public:
    CRampDlg(CDeviceControl& control, const CLanguageManager& language, QWidget* parent = nullptr);
};
