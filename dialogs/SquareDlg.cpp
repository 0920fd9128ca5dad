#include "dialogs/SquareDlg.h"

#include "res/Resource.h"

CSquareDlg::CSquareDlg(CDeviceControl& control, const CLanguageManager& language, QWidget* parent)
    : CDutyDlg(control, WAVE_SQUARE,
               {IDD_SQUARE, IDC_SQUARE_DUTY, IDC_KNOB_SQUARE, "Range:0.0-1.0", QSize(159, 71)},
               language, parent) {}
