#include "dialogs/RampDlg.h"

#include "res/Resource.h"

CRampDlg::CRampDlg(CDeviceControl& control, const CLanguageManager& language, QWidget* parent)
    : CDutyDlg(control, WAVE_RAMP,
               {IDD_RAMP, IDC_RAMP_DUTY, IDC_KNOB_RAMP, "(Range:0.0-1.0)", QSize(146, 68)},
               language, parent) {}
