#pragma once
#include "dialogs/DutyDlg.h"

/// Live editor of the square wave's duty.
class CSquareDlg : public CDutyDlg {
    Q_OBJECT

public:
    CSquareDlg(CDeviceControl& control, const CLanguageManager& language,
               QWidget* parent = nullptr);
};
