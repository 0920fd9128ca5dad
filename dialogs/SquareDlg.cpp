#include "dialogs/SquareDlg.h"

#include "res/Resource.h"

CSquareDlg::CSquareDlg(CDDSDevice& device, const CLanguageManager& language, QWidget* parent)
    : CDutyDlg(device, &CDDSDevice::m_fSquareDuty, {IDD_SQUARE, IDC_SQUARE_DUTY, IDC_KNOB_SQUARE},
               language, parent) {}
