#include "dialogs/RampDlg.h"

#include "res/Resource.h"

CRampDlg::CRampDlg(CDDSDevice& device, const CLanguageManager& language, QWidget* parent)
    : CDutyDlg(device, &CDDSDevice::m_fRampDuty, {IDD_RAMP, IDC_RAMP_DUTY, IDC_KNOB_RAMP}, language,
               parent) {}
