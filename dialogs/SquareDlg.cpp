#include "dialogs/SquareDlg.h"

#include "res/Resource.h"

CSquareDlg::CSquareDlg(CDeviceControl& control, const CLanguageManager& language, QWidget* parent)
    : CDutyDlg(control, WAVE_SQUARE, {IDD_SQUARE, IDC_SQUARE_DUTY, IDC_KNOB_SQUARE}, language,
               parent) {}
